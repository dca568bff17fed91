"""The statistics the verdicts rest on."""

SIGNIFICANCE = 0.05


def mann_whitney_p(a, b):
    """Two-sided p of the Mann-Whitney U test (scipy's)."""
    from scipy.stats import mannwhitneyu
    return mannwhitneyu(a, b, alternative="two-sided").pvalue
