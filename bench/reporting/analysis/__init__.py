"""What the figures say: comparisons with their verdicts, the targets'
outcomes, and which map is fastest where. Nothing here writes text."""
