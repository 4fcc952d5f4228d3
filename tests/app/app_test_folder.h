#pragma once
// A scratch program folder for the window tests: the settings file, the template and Temp/
// live there, and the settings functions are pointed at it for the test's lifetime.

#include "core/cp949.h"
#include "services/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lavodc::testing {

class ScratchProgramFolder {
public:
    ScratchProgramFolder()
    {
        EXPECT_TRUE(dir_.isValid());
        previous_ = ProgramFolder();
        SetProgramFolder(path());
    }
    ~ScratchProgramFolder() { SetProgramFolder(previous_); }

    QString path() const { return dir_.path() + QLatin1Char('/'); }

    // Writes `utf8Text` as CP949 into `name` inside the folder.
    void writeFile(const QString& name, const std::string& utf8Text) const
    {
        QFile file(path() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string bytes = toCp949(utf8Text);
        file.write(bytes.data(), qint64(bytes.size()));
    }

    QByteArray readFile(const QString& name) const
    {
        QFile file(path() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace lavodc::testing
