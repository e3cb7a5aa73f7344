// The tests' main: an application object first, as Qt's SQL drivers and translations need one
// (Qt 6.8 refuses a database without it), then GoogleTest.

#include "QtPrinters.h"
#include "shell/Language.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* out) {
    // Control characters as escapes, so that a failure shows exactly what the text held.
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c == u'"' || c == u'\\')
            shown += u'\\' + QString(c);
        else
            shown += c;
    }
    *out << '"' << shown.toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << "b\"";
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x20 || b >= 0x7f || b == '"' || b == '\\') {
            static const char hex[] = "0123456789abcdef";
            *out << "\\x" << hex[b >> 4] << hex[b & 0xf];
        } else {
            *out << byte;
        }
    }
    *out << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            *out << ", ";
        PrintTo(texts[i], out);
    }
    *out << '}';
}

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    // The program's own language, with its plural forms, as the programs install it at their start.
    zal::InstallLanguage(zal::Language::German);
    return RUN_ALL_TESTS();
}
