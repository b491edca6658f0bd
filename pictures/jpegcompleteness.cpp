#include "jpegcompleteness.h"

#include <QIODevice>
#include <cstring>

namespace {

// Buffered bytes of a device, so that the scan data can be searched with memchr.
class ByteStream
{
public:
    explicit ByteStream(QIODevice &device) : m_device(device) {}

    int next()
    {
        if (m_position == m_buffer.size() && !refill())
            return -1;
        return static_cast<unsigned char>(m_buffer[m_position++]);
    }

    // Moves to just past the next 0xFF byte; false at the end of the data.
    bool passNextFF()
    {
        for (;;) {
            const char *start = m_buffer.constData() + m_position;
            const void *found = std::memchr(start, 0xFF, size_t(m_buffer.size() - m_position));
            if (found) {
                m_position += static_cast<const char *>(found) - start + 1;
                return true;
            }
            if (!refill())
                return false;
        }
    }

    bool skip(qint64 count)
    {
        while (count > 0) {
            if (m_position == m_buffer.size() && !refill())
                return false;
            const qint64 step = qMin(count, qint64(m_buffer.size() - m_position));
            m_position += step;
            count -= step;
        }
        return true;
    }

private:
    bool refill()
    {
        m_buffer = m_device.read(64 * 1024);
        m_position = 0;
        return !m_buffer.isEmpty();
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_position = 0;
};

bool isStandalone(int marker)
{
    // Stuffed zero, TEM, restart markers and a repeated start of image carry no length.
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

} // namespace

bool jpegIsComplete(QIODevice &device)
{
    ByteStream in(device);
    if (in.next() != 0xFF || in.next() != 0xD8)
        return false;
    // Segments are skipped by their length; between them and inside the entropy-coded data
    // every 0xFF starts a marker unless a zero or a restart code follows it.
    while (in.passNextFF()) {
        int marker = in.next();
        while (marker == 0xFF)
            marker = in.next();
        if (marker < 0)
            return false;
        if (marker == 0xD9)
            return true;
        if (isStandalone(marker))
            continue;
        const int high = in.next();
        const int low = in.next();
        if (low < 0 || high * 256 + low < 2 || !in.skip(high * 256 + low - 2))
            return false;
    }
    return false;
}
