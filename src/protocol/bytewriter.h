#pragma once

#include <QByteArray>

// The write operation of the serial link: hands one piece of a command to the
// port. Returns false when the port is closed or refuses the bytes.
class ByteWriter
{
public:
    virtual ~ByteWriter() = default;
    virtual bool write(const QByteArray &bytes) = 0;
};
