#pragma once

#include <QFile>
#include <QLineEdit>
#include <QString>

#include <string>
#include <string_view>

namespace brindle {

// File contents are 8-bit text; Latin-1 maps every byte to one character and back unchanged, so a
// country name in the operator's code page survives the trip through a window.
inline QString toQString(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A field's text as the bytes the files hold.
inline std::string bytesIn(const QLineEdit* field)
{
    return toBytes(field->text());
}

// Paths are in the file system's encoding, not the files' one.
inline QString pathToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

inline std::string pathFromQString(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace brindle
