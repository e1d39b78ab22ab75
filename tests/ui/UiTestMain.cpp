// The window tests need one QApplication for the whole run, made before any test starts, and a
// settings folder of their own: each test starts from the defaults, and the user's own settings
// are never read or written.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/SettingsFile.h"

namespace {

class FreshSettings : public ::testing::EmptyTestEventListener {
public:
    explicit FreshSettings(QString folder) : folder_(std::move(folder)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_);
        tavrel::settings::Store().clear();
    }

private:
    QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const QTemporaryDir settings;
    // Set at once too: a death test's child process runs its test without telling the listeners,
    // and would otherwise write the user's own settings.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings(settings.path()));
    return RUN_ALL_TESTS();
}
