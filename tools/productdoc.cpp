// Fills the product lists of a shipped text (the desktop entry, the file types, the software centre's
// entry, the manual pages, the package description) from the product rows, so that a product added to
// the rows is named wherever a user reads the list.
//
// zal-productdoc TEMPLATE OUTPUT
//
// In the template:
//   @PRODUCTS@              BORA, ZAL, MUVE, DORF, MUVE+, MUVE+ II
//   @PRODUCTS_AND@          BORA, ZAL, MUVE, DORF, MUVE+ and MUVE+ II
//   @CLI_PRODUCTS@          BORA, ZAL, MUVE, DORF, MUVE+, MUVE+II (as zalctl takes them)
//   @DEFAULT_WRITES_OR@     BORA, ZAL, MUVE or DORF (the products with a default write)
//   @EXTENSIONS@            .Bora, .Zal, ...
//   @MIME_TYPES@            application/x-zal-bora;application/x-zal-zal;...;
//   @KEYWORDS@              BORA;ZAL;...;
// A line "@FOR_EACH_PRODUCT@" starts a block that ends at a line "@END@"; the block is written once
// per product, with @MODEL@ (ZAL), @EXT@ (Zal), @ext@ (zal) and @MIME@ (application/x-zal-zal).

#include "config/Products.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

using namespace zal;

namespace {

QString Extension(const ProductInfo& p) {
    return QString::fromLatin1(p.extension.get()).mid(1);
}

QString MimeType(const ProductInfo& p) {
    return QStringLiteral("application/x-zal-") + Extension(p).toLower();
}

QString Joined(const QStringList& names, const QString& last) {
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + last + names.last();
}

QString ProductBlock(const QString& block) {
    QString out;
    for (const ProductInfo& p : Products()) {
        QString one = block;
        one.replace(QLatin1String("@MODEL@"), QString::fromLatin1(p.model.get()))
            .replace(QLatin1String("@EXT@"), Extension(p))
            .replace(QLatin1String("@ext@"), Extension(p).toLower())
            .replace(QLatin1String("@MIME@"), MimeType(p));
        out += one;
    }
    return out;
}

QString Fill(const QString& text) {
    QStringList models, cli, defaults, extensions, mime;
    for (const ProductInfo& p : Products()) {
        models << QString::fromLatin1(p.model.get());
        cli << QString(models.last()).remove(u' ');
        if (p.writeDefaultMenu)
            defaults << models.last();
        extensions << QString::fromLatin1(p.extension.get());
        mime << MimeType(p);
    }
    QString out;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == QLatin1String("@FOR_EACH_PRODUCT@")) {
            QString block;
            while (++i < lines.size() && lines[i].trimmed() != QLatin1String("@END@"))
                block += lines[i] + u'\n';
            out += ProductBlock(block);
            continue;
        }
        out += lines[i];
        if (i + 1 < lines.size())
            out += u'\n';
    }
    return out.replace(QLatin1String("@PRODUCTS@"), models.join(QStringLiteral(", ")))
        .replace(QLatin1String("@PRODUCTS_AND@"), Joined(models, QStringLiteral(" and ")))
        .replace(QLatin1String("@CLI_PRODUCTS@"), cli.join(QStringLiteral(", ")))
        .replace(QLatin1String("@DEFAULT_WRITES_OR@"), Joined(defaults, QStringLiteral(" or ")))
        .replace(QLatin1String("@EXTENSIONS@"), extensions.join(QStringLiteral(", ")))
        .replace(QLatin1String("@MIME_TYPES@"), mime.join(u';') + u';')
        .replace(QLatin1String("@KEYWORDS@"), models.join(u';') + u';');
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zal-productdoc TEMPLATE OUTPUT\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "zal-productdoc: %s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    const QString filled = Fill(QString::fromUtf8(in.readAll()));
    if (filled.contains(QLatin1String("@PRODUCT")) || filled.contains(QLatin1String("@END@"))) {
        std::fprintf(stderr, "zal-productdoc: %s: a marker was left unfilled\n", argv[1]);
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(filled.toUtf8()) < 0 || !out.commit()) {
        std::fprintf(stderr, "zal-productdoc: %s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
