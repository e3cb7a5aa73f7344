#pragma once

#include <QIODevice>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <mutex>

namespace zal::cli {

// Standard output or standard error as zalctl writes them: every write goes whole to the descriptor,
// and a write that fails (a full disk, a closed descriptor) is remembered, so that the command can say
// its output was lost instead of ending as if it had been written.
class StreamDevice : public QIODevice {
public:
    explicit StreamDevice(int fd) : StreamDevice(fd, false) {}

    bool isSequential() const override { return true; }
    // 0 while every write went out; else the first write's errno.
    int writeError() const { return writeError_; }
    qint64 written() const { return written_; }

protected:
    // keepsLines: line() is called with each complete line written.
    StreamDevice(int fd, bool keepsLines);
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;
    // Each complete line written, for a device that keeps what it said.
    virtual void line(const QString&) {}

private:
    int fd_;
    bool closed_;
    bool keepsLines_;
    int writeError_ = 0;
    qint64 written_ = 0;
    QByteArray partial_;
};

// Standard error, keeping the errors it carried ("error 10604: ..." from the dialogs, "zalctl: ..."
// from the commands), so that a command run with --json can give them as its JSON document's "error".
class ErrorStreamDevice : public StreamDevice {
public:
    ErrorStreamDevice() : StreamDevice(2, true) {}
    // {"number": the first numbered error's number (else the first warning's or information's) or null,
    // "text": the errors, one a line (else those messages)}; empty when none was said.
    QJsonObject errorJson() const;

protected:
    void line(const QString& text) override;

private:
    mutable std::mutex mutex_;
    int number_ = 0;      // the first numbered error's
    int otherNumber_ = 0; // the first numbered warning's or information's
    QStringList errors_, others_;
};

// The errors said on err (an ErrorStreamDevice's), for a --json document's "error"; a command that
// failed without a word still gets one.
QJsonObject ErrorJson(QTextStream& err, int exitCode);

// Standard output that could not be written (a full disk, a closed descriptor) is a failure: a script
// must not take an empty or cut file for the command's answer. Says so on err and gives the exit code.
int FinishOutput(int result, QTextStream& out, QTextStream& err);

// Descriptors 0-2 that are closed get /dev/null, so that a file the command opens never takes their
// number (a records database written as standard output); a closed standard output is still told as
// an error when the command writes to it.
void GuardStandardDescriptors();

} // namespace zal::cli
