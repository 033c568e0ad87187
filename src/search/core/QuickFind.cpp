#include "search/core/QuickFind.h"

#include "base/TextRules.h"

namespace QuickFind {

namespace {
QString& last() {
    static QString key;
    return key;
}
} // namespace

std::optional<int> find(const QStringList& lines, std::optional<int> selected, const QString& key) {
    const QString folded = TextRules::foldAZ(key);
    const bool sameKey = folded == last();
    last() = folded;
    if (lines.isEmpty() || folded.isEmpty())
        return std::nullopt;
    const auto holds = [&](int i) { return TextRules::foldAZ(lines[i]).contains(folded); };

    int start = selected.value_or(0);
    if (!sameKey) {
        start = 0;
        if (holds(0))
            return 0;
    }
    const int n = int(lines.size());
    for (int step = 1; step <= n; ++step) {
        const int i = (start + step) % n;
        if (holds(i))
            return i;
    }
    return std::nullopt;
}

QString lastKey() {
    return last();
}

void forgetLastKey() {
    last().clear();
}

} // namespace QuickFind
