#pragma once

#include "bytes.h"

#include <QByteArray>
#include <QString>

namespace Dravix {

// Bytes from and to the spaced hexadecimal notation of the frame tables ("FF FF 01 05").
inline Bytes hexBytes(const char *text)
{
    const QByteArray raw = QByteArray::fromHex(QByteArray(text).replace(' ', ""));
    return Bytes(raw.begin(), raw.end());
}

inline QString hexText(const Bytes &bytes)
{
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    return QString::fromLatin1(raw.toHex(' ').toUpper());
}

} // namespace Dravix
