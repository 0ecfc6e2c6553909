#include "store/linestore.h"

#include <stdexcept>

namespace {
void checkIndex(int index)
{
    if (!LineStore::isIndex(index))
        throw std::out_of_range("line index outside 0..255");
}
} // namespace

const QString &LineStore::text(int index) const
{
    checkIndex(index);
    return m_texts[static_cast<std::size_t>(index)];
}

void LineStore::setText(int index, const QString &text)
{
    checkIndex(index);
    m_texts[static_cast<std::size_t>(index)] = text;
}

void LineStore::clear(int count)
{
    for (int i = 0; i < count; ++i)
        setText(i, QString());
}
