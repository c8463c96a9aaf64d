#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace morlu::test {

/// A private directory for one test, removed with it.
class TempDir {
public:
    TempDir() { EXPECT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    std::string filePath(const std::string& name) const { return file(QString::fromStdString(name)).toStdString(); }

private:
    QTemporaryDir m_dir;
};

} // namespace morlu::test
