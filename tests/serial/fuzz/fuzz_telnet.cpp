// Any server bytes: the same answer, state and data count whole or a byte at
// a time; no more data bytes than bytes in; no answer beyond one for each
// request and the one line request, so the client never talks on by itself.
#include "serial/telnet.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    TelnetClient whole(PortSettings{1, 115200});
    TelnetClient bytewise(PortSettings{1, 115200});
    whole.start();
    bytewise.start();
    const QByteArray answer = whole.receive(input);
    QByteArray answered;
    for (qsizetype i = 0; i < input.size(); ++i)
        answered += bytewise.receive(input.sliced(i, 1));
    if (answer != answered || whole.state() != bytewise.state() || whole.refusal() != bytewise.refusal()
        || whole.dataBytes() != bytewise.dataBytes() || whole.dataBytes() > input.size()
        || answer.size() > input.size() + TelnetClient::MaxLineRequest)
        std::abort();
    return 0;
}
