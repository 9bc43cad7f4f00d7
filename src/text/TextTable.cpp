#include "text/TextTable.h"

#include "text/CodePage.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    int id;
    const char16_t* text;
};

constexpr Entry kTable[] = {
#include "resources/text_table.inc"
};

constexpr bool sortedById()
{
    for (std::size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].id >= kTable[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "text_table.inc must list each id once, ascending");

// Lookups go through a 2048-unit buffer, terminator included.
constexpr qsizetype kMaxTextUnits = 2047;

} // namespace

QString resourceText(int id)
{
    const auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                                     [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kTable) || it->id != id)
        return {};
    return QString::fromUtf16(it->text).left(kMaxTextUnits);
}

QString resourceTextNarrow(int id)
{
    const QString text = resourceText(id);
    if (text.isEmpty())
        return {};
    return oemToWide(wideToAnsi(text));
}
