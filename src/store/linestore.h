#pragma once

#include <QString>

#include <array>

// The texts of the lines, indexed from 0 (shown to the operator as "Line 1").
// Only indices below the window's LineCount are in use; the rest keep
// whatever they last held.
class LineStore
{
public:
    static constexpr int Size = 256;

    static bool isIndex(int index) { return index >= 0 && index < Size; }

    // Both throw std::out_of_range for an index outside 0..255.
    const QString &text(int index) const;
    void setText(int index, const QString &text);

    // Empties indices 0 .. count - 1, in ascending order.
    void clear(int count);

private:
    std::array<QString, Size> m_texts;
};
