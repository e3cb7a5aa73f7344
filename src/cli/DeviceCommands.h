#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

int RunRead(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunWrite(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunLearn(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunChangeCodes(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunWriteDefault(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunWriteVersionByte(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
