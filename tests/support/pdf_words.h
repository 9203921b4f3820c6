// The words of a PDF with their boxes in millimetres, as pdftotext -bbox gives them.
#pragma once

#include "support/fixtures.h"

#include <QRectF>
#include <QRegularExpression>

struct PdfWord {
    int page;
    QRectF box;  // mm
    QString text;
};

inline std::vector<PdfWord> pdfWords(const QString& path)
{
    static const QRegularExpression item("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                                         "yMax=\"([0-9.]+)\">([^<]*)</word>");
    const double mm = 25.4 / 72;
    std::vector<PdfWord> out;
    int page = -1;
    for (const QRegularExpressionMatch& m : item.globalMatch(testing_support::pdfText(path, {"-bbox"}))) {
        if (m.captured(1).isEmpty()) {
            ++page;
            continue;
        }
        out.push_back({page, QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
                                    QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm)),
                       m.captured(5)});
    }
    return out;
}
