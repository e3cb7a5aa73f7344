#include "RecordsWorkbook.h"

#include "RecordsDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>

namespace zal {
namespace {

// The workbook in a file of a temporary folder: libxlsxwriter writes to a file name, and the target may
// be a FIFO or standard output, which only the caller knows how to write.
class Workbook final : public RecordsTableSink {
public:
    explicit Workbook(const QString& path) {
        path_ = QFile::encodeName(path);
        tmp_ = QFile::encodeName(QFileInfo(path).path());
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // a row at a time: a floor's years of rows stay out of memory
        options.tmpdir = tmp_.data();
        book_ = workbook_new_opt(path_.constData(), &options);
        if (book_) {
            heading_ = workbook_add_format(book_);
            format_set_bold(heading_);
            time_ = workbook_add_format(book_);
            format_set_num_format(time_, "yyyy-mm-dd hh:mm:ss");
        }
    }
    ~Workbook() override {
        if (book_)
            workbook_close(book_);
    }

    bool made() const { return book_ != nullptr; }

    Result<> Begin(const RecordsTable& table) override {
        table_ = table;
        row_ = 0;
        sheet_ = workbook_add_worksheet(book_, table.name.toUtf8().constData());
        if (!sheet_)
            return failed(LXW_ERROR_MEMORY_MALLOC_FAILED);
        // Widths must be set before the first row when rows go out one at a time; a time's column is
        // as wide as a time.
        for (size_t c = 0; c < table.kinds.size(); ++c) {
            const double heading = static_cast<double>(table.columns[static_cast<qsizetype>(c)].size()) + 2;
            const double width =
                table.kinds[c] == CellKind::Time ? std::max(heading, 20.0) : std::max(heading, 12.0);
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width,
                                 nullptr);
        }
        worksheet_freeze_panes(sheet_, 1, 0);
        for (size_t c = 0; c < table.kinds.size(); ++c) {
            if (const lxw_error e = worksheet_write_string(
                    sheet_, 0, static_cast<lxw_col_t>(c),
                    table.columns[static_cast<qsizetype>(c)].toUtf8().constData(), heading_);
                e != LXW_NO_ERROR)
                return failed(e);
        }
        return {};
    }

    Result<> Row(const QStringList& cells) override {
        ++row_;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString& cell = cells[c];
            if (cell.isEmpty())
                continue;
            const auto col = static_cast<lxw_col_t>(c);
            lxw_error e = LXW_NO_ERROR;
            switch (table_.kinds[static_cast<size_t>(c)]) {
            case CellKind::Number: {
                bool number = false;
                const double value = cell.toDouble(&number);
                e = number ? worksheet_write_number(sheet_, row_, col, value, nullptr)
                           : worksheet_write_string(sheet_, row_, col, cell.toUtf8().constData(), nullptr);
                break;
            }
            case CellKind::Time: {
                const QDateTime time = QDateTime::fromString(cell, Qt::ISODateWithMs).toUTC();
                if (time.isValid()) {
                    const QDate d = time.date();
                    const QTime t = time.time();
                    lxw_datetime when{d.year(), d.month(),  d.day(),
                                      t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
                    e = worksheet_write_datetime(sheet_, row_, col, &when, time_);
                } else {
                    e = worksheet_write_string(sheet_, row_, col, cell.toUtf8().constData(), nullptr);
                }
                break;
            }
            case CellKind::Text:
                e = worksheet_write_string(sheet_, row_, col, cell.toUtf8().constData(), nullptr);
                break;
            }
            if (e != LXW_NO_ERROR)
                return failed(e);
        }
        return {};
    }

    Result<> End() override { return {}; }

    Result<> Close() {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        if (e != LXW_NO_ERROR)
            return failed(e);
        return {};
    }

private:
    Failure failed(lxw_error e) const {
        QString why = QString::fromUtf8(lxw_strerror(e));
        if (e == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE)
            why =
                QCoreApplication::translate("Records", "die Tabelle %1 hat mehr Zeilen, als ein Blatt fasst; "
                                                       "--csv gibt sie ganz aus")
                    .arg(table_.name);
        return Failure{Problem::Other, why};
    }

    QByteArray path_, tmp_;
    lxw_workbook* book_ = nullptr;
    lxw_format* heading_ = nullptr;
    lxw_format* time_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    RecordsTable table_;
    lxw_row_t row_ = 0;
};

} // namespace

Result<QByteArray> RecordsWorkbook(RecordsDatabase& records) {
    QTemporaryDir dir;
    if (!dir.isValid())
        return Failure{Problem::Other, dir.errorString()};
    const QString path = dir.filePath(QStringLiteral("records.xlsx"));
    Workbook book(path);
    if (!book.made())
        return Failure{Problem::Other, QString::fromUtf8(lxw_strerror(LXW_ERROR_CREATING_XLSX_FILE))};
    if (Result<> exported = records.ExportTables(book); !exported)
        return exported.failure();
    if (Result<> closed = book.Close(); !closed)
        return closed.failure();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{Problem::Other, file.errorString()};
    return file.readAll();
}

} // namespace zal
