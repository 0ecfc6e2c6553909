#include "window/recordstore.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace {

char *mapped(size_t bytes)
{
    void *block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    // Writing makes every page resident now rather than at its first use.
    std::memset(block, 0, bytes);
    return static_cast<char *>(block);
}

} // namespace

RecordMemory::~RecordMemory()
{
    for (char *chunk : m_free)
        munmap(chunk, ChunkBytes);
}

char *RecordMemory::take(size_t bytes)
{
    if (bytes > ChunkBytes)
        return mapped(bytes);
    if (m_free.empty()) {
        ++m_chunks;
        return mapped(ChunkBytes);
    }
    char *chunk = m_free.back();
    m_free.pop_back();
    return chunk;
}

void RecordMemory::give(char *block, size_t bytes)
{
    if (bytes <= ChunkBytes && m_chunks <= m_reserveChunks) {
        m_free.push_back(block);
        return;
    }
    if (bytes <= ChunkBytes)
        --m_chunks;
    munmap(block, std::max(bytes, ChunkBytes));
}

bool RecordMemory::reserveMore()
{
    if (m_chunks >= m_reserveChunks)
        return false;
    m_free.push_back(mapped(ChunkBytes));
    return ++m_chunks < m_reserveChunks;
}

qint64 RecordBytes::append(const char *data, qsizetype size)
{
    const auto length = size_t(size);
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < length) {
        // A long line text gets a chunk of its own.
        const size_t capacity = std::max(length, RecordMemory::ChunkBytes);
        m_chunks.push_back({m_memory.take(capacity), capacity, m_end, 0});
    }
    Chunk &chunk = m_chunks.back();
    if (length > 0)
        std::memcpy(chunk.data + chunk.used, data, length);
    const qint64 position = chunk.start + qint64(chunk.used);
    chunk.used += length;
    m_end = position + size;
    return position;
}

const char *RecordBytes::at(qint64 position) const
{
    // The last chunk that starts at or before the position holds it.
    auto after = std::upper_bound(m_chunks.begin(), m_chunks.end(), position,
                                  [](qint64 p, const Chunk &chunk) { return p < chunk.start; });
    if (after == m_chunks.begin())
        return nullptr;
    const Chunk &chunk = *std::prev(after);
    return chunk.data + (position - chunk.start);
}

void RecordBytes::releaseBefore(qint64 position)
{
    while (!m_chunks.empty() && m_chunks.front().start + qint64(m_chunks.front().used) <= position) {
        m_memory.give(m_chunks.front().data, m_chunks.front().capacity);
        m_chunks.pop_front();
    }
}
