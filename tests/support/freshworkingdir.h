#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace Dravix {

// Puts a test function into an empty temporary working directory and leaves it afterwards.
class FreshWorkingDir
{
public:
    void enter()
    {
        m_previous = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void leave()
    {
        QDir::setCurrent(m_previous);
        m_dir.reset();
    }
    QString path() const { return m_dir ? m_dir->path() : QString(); }

private:
    QString m_previous;
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace Dravix
