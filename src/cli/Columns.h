#pragma once

#include "Session.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include <unistd.h>

namespace zal::cli {

// Rows for a person: column heads and aligned columns on a terminal (or with --header); a pipe gets the
// rows as scripts have always read them, their cells two spaces apart.
class Columns {
public:
    struct Head {
        const char* text; // translated
        int width;        // what a typical cell takes; a longer one pushes the row on, never cut
    };
    Columns(QTextStream& out, const Options& o, std::initializer_list<Head> heads)
        : out_(out), aligned_(!o.json && (o.header || ::isatty(STDOUT_FILENO) == 1)) {
        for (const Head& h : heads) {
            const QString text = QCoreApplication::translate("Cli", h.text);
            heads_ << text;
            widths_.push_back(std::max(h.width, static_cast<int>(text.size())));
        }
    }
    void row(const QStringList& cells) {
        if (aligned_ && !headed_) {
            headed_ = true;
            row(heads_);
        }
        QString line;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const bool last = i + 1 == cells.size();
            line += aligned_ && !last && i < static_cast<qsizetype>(widths_.size())
                        ? cells[i].leftJustified(widths_[static_cast<size_t>(i)])
                        : cells[i];
            if (!last)
                line += QStringLiteral("  ");
        }
        out_ << line << '\n';
    }

private:
    QTextStream& out_;
    bool aligned_, headed_ = false;
    QStringList heads_;
    std::vector<int> widths_;
};

} // namespace zal::cli
