#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

int RunNew(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunShow(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunSet(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunDiff(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
