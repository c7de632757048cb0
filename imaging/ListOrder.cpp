#include "imaging/ListOrder.h"

#include "base/ImageList.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace {

struct SortRow
{
    QCollatorSortKey name;
    QCollatorSortKey folder;
    qint64 added;
    std::optional<QDateTime> taken;
    QDateTime modified;
};

QCollator collatorFor(const QLocale& locale)
{
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setNumericMode(true);
    return collator;
}

// Negative, zero or positive as a sorts before, with or after b.
int byName(const SortRow& a, const SortRow& b)
{
    if (const int names = a.name.compare(b.name))
        return names;
    return a.folder.compare(b.folder);
}

// A valid time before an invalid one.
int byTime(const QDateTime& a, const QDateTime& b)
{
    if (a.isValid() != b.isValid())
        return a.isValid() ? -1 : 1;
    return a < b ? -1 : (b < a ? 1 : 0);
}

int byDate(const SortRow& a, const SortRow& b)
{
    if (a.taken.has_value() != b.taken.has_value())
        return a.taken ? -1 : 1;
    if (a.taken)
        return byTime(*a.taken, *b.taken);
    return byTime(a.modified, b.modified);
}

} // namespace

std::vector<int> listOrder(ListOrder order, const ImageList& list,
                           std::span<const PictureFacts> facts, const QLocale& locale)
{
    const QCollator collator = collatorFor(locale);
    std::vector<SortRow> rows;
    rows.reserve(size_t(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const bool known = size_t(i) < facts.size();
        rows.push_back({collator.sortKey(list[i].GetFileName()),
                        collator.sortKey(list[i].GetFolder()), list.addedOrder(i),
                        known ? facts[size_t(i)].taken : std::nullopt,
                        known ? facts[size_t(i)].modified : QDateTime()});
    }
    std::vector<int> indexes(rows.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    std::sort(indexes.begin(), indexes.end(), [&](int left, int right) {
        const SortRow& a = rows[size_t(left)];
        const SortRow& b = rows[size_t(right)];
        int compared = 0;
        if (order == ListOrder::DateTaken)
            compared = byDate(a, b);
        if (compared == 0 && order != ListOrder::Added)
            compared = byName(a, b);
        return compared != 0 ? compared < 0 : a.added < b.added;
    });
    return indexes;
}
