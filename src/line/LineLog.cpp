// The production line's CSV log: a header, then a row per device, appended from any unit's thread.

#include "ProductionLine.h"

#include "records/RecordsDatabase.h"

#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {
QString LineResultWord(CommandResult::Kind kind) {
    return kind == CommandResult::Done ? QStringLiteral("written") : ResultWord(kind);
}

QString CodesText(const std::vector<std::uint16_t>& codes) {
    QStringList texts;
    for (std::uint16_t c : codes)
        texts << QStringLiteral("%1").arg(c, 4, 16, QLatin1Char('0')).toUpper();
    return texts.join(u' ');
}

namespace {

QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// One CSV line into its fields (quotes as RFC 4180 writes them).
QStringList CsvFields(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

} // namespace

// --- Log ------------------------------------------------------------------------------------------------

const QStringList& LineLog::Columns() {
    static const QStringList columns{QStringLiteral("time"),        QStringLiteral("serial"),
                                     QStringLiteral("product"),     QStringLiteral("version"),
                                     QStringLiteral("radio_id"),    QStringLiteral("codes"),
                                     QStringLiteral("result"),      QStringLiteral("message"),
                                     QStringLiteral("duration_ms"), QStringLiteral("unit")};
    return columns;
}

namespace {

// The log's file, opened to append: a regular file that is empty or starts with the log's header, or
// none (then made with the header). Anything else (a FIFO, a device, a folder, the configuration file,
// another program's file, also behind a symlink) is refused untouched.
Result<int> OpenLogFile(const QString& path) {
    const auto systemError = [](int cause) {
        return Failure{FileProblem(cause), QString::fromLocal8Bit(std::strerror(cause))};
    };
    const QByteArray name = QFile::encodeName(path);
    // Never blocking: a FIFO would otherwise hold the open until something reads it.
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return systemError(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{Problem::Invalid, QCoreApplication::translate("Line", "keine gewöhnliche Datei")};
    }
    const QByteArray header = LineLog::Columns().join(u',').toUtf8() + '\n';
    if (st.st_size == 0) {
        if (::write(fd, header.constData(), static_cast<size_t>(header.size())) != header.size()) {
            const int cause = errno;
            [[maybe_unused]] const int cut = ::ftruncate(fd, 0);
            ::close(fd);
            return systemError(cause);
        }
        return fd;
    }
    QByteArray first(header.size(), '\0');
    if (::pread(fd, first.data(), static_cast<size_t>(first.size()), 0) != first.size() || first != header) {
        ::close(fd);
        return Failure{Problem::Invalid,
                       QCoreApplication::translate(
                           "Line", "keine Protokolldatei dieses Programms (ihre erste Zeile ist nicht "
                                   "der Kopf des Protokolls)")};
    }
    // A row torn by a crash or a full disk is ended, so that the next row starts on a line of its own.
    char last = '\n';
    if (::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n' && ::write(fd, "\n", 1) != 1) {
        const int cause = errno;
        ::close(fd);
        return systemError(cause);
    }
    return fd;
}

} // namespace

Result<> LineLog::Open(const QString& path) {
    std::lock_guard lock(mutex_);
    path_ = path;
    logged_.clear();
    const Result<int> fd = OpenLogFile(path);
    if (!fd)
        return fd.failure();
    QFile file;
    if (!file.open(*fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(*fd);
        return Failure{Problem::Unreachable, file.errorString()};
    }
    file.seek(0);
    file.readLine(); // the header
    while (!file.atEnd())
        Take(CsvFields(QString::fromUtf8(file.readLine()).trimmed()));
    return {};
}

Result<> LineLog::Read(const QString& path) {
    std::lock_guard lock(mutex_);
    logged_.clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure{errno == ENOENT ? Problem::NotFound : Problem::Unreachable,
                       QString::fromLocal8Bit(std::strerror(errno))};
    QFile file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{Problem::Invalid, QCoreApplication::translate("Line", "keine gewöhnliche Datei")};
    }
    if (file.readLine() != Columns().join(u',').toUtf8() + '\n')
        return Failure{Problem::Invalid,
                       QCoreApplication::translate(
                           "Line", "keine Protokolldatei dieses Programms (ihre erste Zeile ist nicht "
                                   "der Kopf des Protokolls)")};
    while (!file.atEnd())
        Take(CsvFields(QString::fromUtf8(file.readLine()).trimmed()));
    return {};
}

void LineLog::Take(const QStringList& fields) {
    static const qsizetype codes = Columns().indexOf(QStringLiteral("codes"));
    static const qsizetype result = Columns().indexOf(QStringLiteral("result"));
    static const qsizetype serial = Columns().indexOf(QStringLiteral("serial"));
    static const qsizetype product = Columns().indexOf(QStringLiteral("product"));
    // A row with codes went to a device: written there, or failed part way (the device may hold some).
    const QString state = fields.value(result) == QLatin1String("written") ? QStringLiteral("written")
                                                                           : QStringLiteral("failed");
    for (const QString& text : fields.value(codes).split(u' ', Qt::SkipEmptyParts))
        logged_[TextToCode(text)] = {state, fields.value(serial), fields.value(product)};
}

std::set<std::uint16_t> LineLog::usedCodes() const {
    std::lock_guard lock(mutex_);
    std::set<std::uint16_t> used;
    for (const auto& [code, fate] : logged_)
        used.insert(used.end(), code);
    return used;
}

Result<LineLog::Taken> LineLog::TakeInto(RecordsDatabase& records, const QString& source) const {
    const Result<int> added = records.ImportUsedCodes(usedCodes(), source);
    if (!added)
        return added.failure();
    std::map<std::uint16_t, RecordsDatabase::LoggedCode> logged;
    {
        std::lock_guard lock(mutex_);
        logged = logged_;
    }
    const Result<int> settled = records.ReconcileCodes(logged);
    if (!settled)
        return settled.failure();
    return Taken{*added, *settled};
}

Result<> LineLog::Append(const LineRecord& r) {
    const QStringList fields{r.time.toString(Qt::ISODate),
                             CsvField(r.serial),
                             CsvField(r.product),
                             CsvField(r.version),
                             CsvField(r.radioId),
                             r.codes,
                             r.result,
                             CsvField(QString(r.message).replace(u'\n', u' ').simplified()),
                             QString::number(r.durationMs),
                             CsvField(r.unit)};
    QString database, station;
    qint64 run = 0;
    RecordsDatabase::FailoverWindow* window = nullptr;
    Result<> written;
    {
        std::lock_guard lock(mutex_);
        Take({QString(), r.serial, r.product, QString(), QString(), r.codes, r.result});
        database = database_;
        station = station_;
        run = run_;
        window = window_;
        written = WriteRow(fields);
    }
    // The records' row after the file's, outside the lock: a unit waiting for a standby never holds
    // another unit's row back.
    if (run > 0) {
        const Result<> added = RecordsDatabase::AcrossFailover(
            database, [&](RecordsDatabase& records) { return records.AddRunRow(run, station, r); }, window);
        std::lock_guard lock(mutex_);
        if (!added && recordsProblem_.isEmpty())
            recordsProblem_ = added.error();
    }
    return written;
}

Result<> LineLog::WriteRow(const QStringList& fields) {
    // Opened for each row: a log moved away during the run is made again, with its header.
    const Result<int> opened = OpenLogFile(path_);
    if (!opened)
        return opened.failure();
    const int fd = *opened;
    // The row in one write, whole or not at all: a part written (a full disk) is cut off again.
    const QByteArray line = fields.join(u',').toUtf8() + '\n';
    struct stat st {};
    const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    const ssize_t written = ::write(fd, line.constData(), static_cast<size_t>(line.size()));
    // A short write to a file is a full disk (or the file's size limit).
    const int cause = written < 0 ? errno : written < line.size() ? ENOSPC : 0;
    if (cause != 0 && before >= 0) [[maybe_unused]]
        const int cut = ::ftruncate(fd, before);
    ::close(fd);
    if (cause != 0)
        return Failure{FileProblem(cause), QString::fromLocal8Bit(std::strerror(cause))};
    return {};
}

void LineLog::RecordInto(QString database, QString station, qint64 run,
                         RecordsDatabase::FailoverWindow* window) {
    std::lock_guard lock(mutex_);
    database_ = std::move(database);
    station_ = std::move(station);
    run_ = run;
    window_ = window;
}

QString LineLog::recordsProblem() {
    std::lock_guard lock(mutex_);
    return recordsProblem_;
}

} // namespace zal
