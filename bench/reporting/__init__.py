"""The benchmark report, in layers, each using only those above it:

  model      what the bench programs wrote: the list of what they run, the
             timings, weights, counts and latencies, the output files
  analysis   what the figures say: comparisons and their verdicts, the
             targets' outcomes, which map is fastest where
  render     how it is written: the one table writer, the wording of
             numbers and verdicts, the figures
  sections   the report's sections, and README's results block
  commands   bench/report, bench/compare and bench/counts: their command
             lines, the run plan and the running of the bench programs
"""
