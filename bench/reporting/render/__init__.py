"""How the report writes what the analysis found: the one table writer, the
wording of numbers and verdicts, and the figures."""
