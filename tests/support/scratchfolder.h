#pragma once

#include "cp1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <optional>
#include <string>

namespace Dravix {

// A fresh working directory "work", current while the object lives, inside a temporary folder
// that stands for everything outside the working directory.
class ScratchFolder
{
public:
    ScratchFolder()
        : m_previous(QDir::currentPath())
    {
        m_valid = m_root.isValid() && QDir(m_root.path()).mkdir(QStringLiteral("work")) &&
                  QDir::setCurrent(work());
    }
    ~ScratchFolder() { QDir::setCurrent(m_previous); }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString work() const { return m_root.filePath(QStringLiteral("work")); }
    QString outside() const { return m_root.path(); }
    std::filesystem::path workPath() const { return work().toStdU16String(); }

    // Paths are relative to the working directory; "../x" lies outside it.
    QString pathOf(const std::string &relative) const
    {
        return work() + QLatin1Char('/') + QString::fromStdString(relative);
    }
    bool writeBytes(const std::string &relative, const std::string &bytes) const
    {
        QFile file(pathOf(relative));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    }
    // UTF-8 text, written as Windows-1250 with CR LF line ends.
    bool writeText(const std::string &relative, const std::string &text) const
    {
        std::string crlf;
        for (char c : text) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        return writeBytes(relative, utf8ToCp1250(crlf));
    }
    std::optional<std::string> bytes(const std::string &relative) const
    {
        QFile file(pathOf(relative));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll().toStdString();
    }
    bool makeFolder(const std::string &relative) const { return QDir().mkpath(pathOf(relative)); }
    // Every entry below the temporary folder, hidden ones included, with sizes and contents,
    // so that any file created, changed or deleted anywhere shows.
    QStringList snapshot() const
    {
        QStringList entries;
        const std::filesystem::path root = m_root.path().toStdU16String();
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
            QString line = QString::fromStdU16String(
                entry.path().lexically_relative(root).generic_u16string());
            if (entry.is_regular_file()) {
                QFile file(QString::fromStdU16String(entry.path().u16string()));
                if (file.open(QIODevice::ReadOnly))
                    line += QLatin1Char('=') + QString::fromLatin1(file.readAll().toHex());
            } else {
                line += QLatin1Char('/');
            }
            entries << line;
        }
        entries.sort();
        return entries;
    }

private:
    QString m_previous;
    QTemporaryDir m_root;
    bool m_valid = false;
};

} // namespace Dravix
