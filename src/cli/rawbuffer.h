#pragma once

#include <QByteArray>

#include <algorithm>

// Bytes written through a raw pointer, with room made ahead for each piece:
// the inner loops of a listing write some hundred thousand rows, and appending
// to a QByteArray byte by byte costs more than the rows' text itself.
class RawBuffer
{
public:
    // Where to write next, with at least room bytes free.
    char *Room(qsizetype room)
    {
        if (m_bytes.size() - m_used < room)
            m_bytes.resize(std::max(2 * m_bytes.size(), m_used + room));
        return m_bytes.data() + m_used;
    }
    // Everything before end is written.
    void Commit(const char *end) { m_used = end - m_bytes.constData(); }

    QByteArray Take()
    {
        m_bytes.truncate(m_used);
        m_used = 0;
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_used = 0;
};
