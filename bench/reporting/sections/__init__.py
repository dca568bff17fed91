"""The report's sections, each a list of Markdown lines, and the figures
they show; `document` puts them together."""
