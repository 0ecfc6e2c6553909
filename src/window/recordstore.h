#pragma once

#include <QtGlobal>

#include <deque>
#include <type_traits>
#include <vector>

// Memory for the record of sent commands, in chunks taken from the system.
// The record keeps what it is given, so while it fills, fresh memory would
// fault on the first write to each page: about 20 times while 255 long lines
// go out, in the middle of the send, and on a virtual machine each fault can
// cost more than the bytes' whole way to the port. So the record writes a
// reserve ahead of need, a chunk at a time between sends, that holds a full
// record of line texts; its chunks come from the reserve and go back to it.
class RecordMemory
{
public:
    static constexpr size_t ChunkBytes = size_t(256) * 1024;

    explicit RecordMemory(size_t reserveBytes) : m_reserveChunks((reserveBytes + ChunkBytes - 1) / ChunkBytes) {}
    ~RecordMemory();
    RecordMemory(const RecordMemory &) = delete;
    RecordMemory &operator=(const RecordMemory &) = delete;

    // A chunk, or a block of its own for more than a chunk.
    char *take(size_t bytes);
    void give(char *block, size_t bytes);
    // Writes one more chunk of the reserve; false once the reserve is whole.
    bool reserveMore();

private:
    size_t m_reserveChunks;
    size_t m_chunks = 0; // taken from the system, in use or free
    std::vector<char *> m_free;
};

// Items of a trivially copyable type, added at the back and let go from the
// front, reached by index.
template<typename T>
class RecordQueue
{
    static_assert(std::is_trivially_copyable_v<T>, "items are copied as bytes");

public:
    static constexpr size_t PerChunk = RecordMemory::ChunkBytes / sizeof(T);

    explicit RecordQueue(RecordMemory &memory) : m_memory(memory) {}
    ~RecordQueue() { clear(); }
    RecordQueue(const RecordQueue &) = delete;
    RecordQueue &operator=(const RecordQueue &) = delete;

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T &operator[](size_t i) { return item(m_front + i); }
    const T &operator[](size_t i) const { return item(m_front + i); }

    void push_back(const T &value)
    {
        if (m_front + m_size == m_chunks.size() * PerChunk)
            m_chunks.push_back(reinterpret_cast<T *>(m_memory.take(RecordMemory::ChunkBytes)));
        item(m_front + m_size) = value;
        ++m_size;
    }
    void pop_front(size_t count)
    {
        m_front += count;
        m_size -= count;
        while (m_front >= PerChunk) {
            m_memory.give(reinterpret_cast<char *>(m_chunks.front()), RecordMemory::ChunkBytes);
            m_chunks.pop_front();
            m_front -= PerChunk;
        }
    }
    void clear()
    {
        for (T *chunk : m_chunks)
            m_memory.give(reinterpret_cast<char *>(chunk), RecordMemory::ChunkBytes);
        m_chunks.clear();
        m_front = m_size = 0;
    }

private:
    T &item(size_t at) const { return m_chunks[at / PerChunk][at % PerChunk]; }

    RecordMemory &m_memory;
    std::deque<T *> m_chunks;
    size_t m_front = 0; // index of the first item in the first chunk
    size_t m_size = 0;
};

// Bytes added at the back and let go from the front. Each addition stays in
// one piece, found again by the position it was given.
class RecordBytes
{
public:
    explicit RecordBytes(RecordMemory &memory) : m_memory(memory) {}
    ~RecordBytes() { clear(); }
    RecordBytes(const RecordBytes &) = delete;
    RecordBytes &operator=(const RecordBytes &) = delete;

    // Where the copy of `data` lies, for at().
    qint64 append(const char *data, qsizetype size);
    const char *at(qint64 position) const;
    // Everything before `position` may go.
    void releaseBefore(qint64 position);
    void clear() { releaseBefore(m_end); }

private:
    struct Chunk
    {
        char *data;
        size_t capacity;
        qint64 start; // position of data[0]
        size_t used;
    };
    RecordMemory &m_memory;
    std::deque<Chunk> m_chunks;
    qint64 m_end = 0;
};
