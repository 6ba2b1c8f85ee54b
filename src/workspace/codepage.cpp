#include "workspace/codepage.h"

#include <QFile>

#include "support/cp1250.h"

namespace tov {

QString decodeBytes(std::string_view bytes)
{
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* d = out.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        d[i] = QChar(cp1250::toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

std::string encodeText(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const int b = cp1250::fromUnicode(ch.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string encodeText(const QString& text, QString& refused)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const int b = cp1250::fromUnicode(ch.unicode());
        if (b < 0)
            refused += ch;
        else
            out.push_back(static_cast<char>(b));
    }
    return out;
}

QString pathToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string pathFromQString(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace tov
