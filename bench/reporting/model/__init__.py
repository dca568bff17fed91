"""What the bench programs wrote, read into plain objects."""
