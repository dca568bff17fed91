"""The one Markdown table writer of the report, bench/compare and
bench/counts."""


def markdown_table(rows, numeric=()):
    """rows[0] is the header; the columns listed in `numeric` are
    right-aligned. Cells are text."""
    rule = ["---:" if i in numeric else "---" for i in range(len(rows[0]))]
    return ["| " + " | ".join(row) + " |" for row in rows[:1] + [rule] + rows[1:]]


def numeric_from(first, rows):
    """The columns from `first` to the last of the header."""
    return list(range(first, len(rows[0])))
