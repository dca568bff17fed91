#include "mix_run.h"

#include <memory>

namespace {

// Draws the index of a present key (or, for the latest keys, the offset
// from the newest) as the mix's distribution draws them.
class KeyDraw {
public:
    KeyDraw(const MixRecipe& recipe, std::size_t n, std::mt19937_64& generator) : m_n(n) {
        if (recipe.keys == KeyDistribution::zipf || recipe.keys == KeyDistribution::latest) {
            m_ranks = std::make_unique<ZipfRanks>(n, recipe.exponent);
        }
        if (recipe.keys == KeyDistribution::zipf) {
            m_keyOfRank = shuffledKeys(n, generator);
        }
    }

    int operator()(std::mt19937_64& generator) {
        if (!m_ranks) {
            return presentKey(below(generator, m_n));
        }
        const std::size_t rank = (*m_ranks)(generator);
        return m_keyOfRank.empty() ? static_cast<int>(rank) : m_keyOfRank[rank];
    }

private:
    std::size_t m_n;
    std::unique_ptr<ZipfRanks> m_ranks;
    std::vector<int> m_keyOfRank;
};

}  // namespace

std::vector<MixStep> mixSteps(const MixRecipe& recipe, std::size_t n, std::mt19937_64& generator) {
    std::discrete_distribution<int> operations(recipe.shares.begin(), recipe.shares.end());
    KeyDraw draw(recipe, n, generator);
    const bool drawnKeys =
        recipe.keys == KeyDistribution::uniform || recipe.keys == KeyDistribution::zipf;
    std::vector<MixStep> steps(kQueryRing);
    for (MixStep& step : steps) {
        step.operation = static_cast<MixOperation>(operations(generator));
        step.key = draw(generator);
        // A miss, or a new key drawn as the keys are, is the odd one above
        // (for keys in order, a miss finds its key as the run goes).
        const bool odd =
            step.operation == MixOperation::miss || step.operation == MixOperation::insert;
        step.key += drawnKeys && odd ? 1 : 0;
        step.length = step.operation == MixOperation::scan
                          ? 1 + static_cast<int>(below(generator, recipe.longestScan))
                          : 0;
    }
    return steps;
}

void MixRun::restore() {
    if (!ordered()) {
        return;
    }
    // Beyond the loaded keys: inserted above the newest, or below the
    // first (descending keys).
    for (long long key = m_newest; key > m_loadedNewest; key -= 2) {
        m_map.erase(static_cast<int>(key));
    }
    for (long long key = m_lowest; key < 0; key += 2) {
        m_map.erase(static_cast<int>(key));
    }
    // Among them: erased at the first (ascending) or at the last (descending).
    for (long long key = 0; key < m_lowest && key <= m_loadedNewest; key += 2) {
        m_map.insert(static_cast<int>(key), m_inserted);
    }
    for (long long key = m_newest < 0 ? 0 : m_newest + 2; key <= m_loadedNewest; key += 2) {
        m_map.insert(static_cast<int>(key), m_inserted);
    }
    m_lowest = 0;
    m_newest = m_loadedNewest;
    m_cursor = 0;
}
