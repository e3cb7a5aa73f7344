#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zal::test {

// A temporary home for one test: HOME and the XDG variables point into it while the object lives, so
// that the program's folders are settled there and nothing touches the real account.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldData_, oldConfig_;
};

// Writes bytes to a file, creating its folder; returns the path.
QString WriteTestFile(const QString& path, const QByteArray& bytes);
QByteArray ReadTestFile(const QString& path);

} // namespace zal::test
