"""The commands bench/report, bench/compare and bench/counts: their command
lines, what a report runs, and the running of the bench programs."""
