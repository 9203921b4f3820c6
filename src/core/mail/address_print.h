#pragma once
// Address blocks on paper: label sheets and envelopes, the pages laid out in
// millimetres from the paper's own corner (whatever the printer's margins).
#include "core/base/error.h"
#include "core/mail/postal_address.h"

#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace tb {

class Database;

// A sheet of labels on A4, in millimetres.
struct LabelSheet {
    QString id;    // as tabulon-cli names it ("L7160")
    QString name;  // as the window lists it
    int columns = 1, rows = 1;
    double width = 0, height = 0;  // of a label
    double left = 0, top = 0;      // of the first label, from the sheet's corner
    double across = 0, down = 0;   // from one label to the next (pitch)

    int perSheet() const { return columns * rows; }
    // Label index (0 first, across then down) from the sheet's top left corner.
    QRectF label(int index) const;
};

const QSizeF kA4Millimetres{210, 297};

// The six sheets the window offers, Avery's four first.
const std::vector<LabelSheet>& labelSheets();
// One of them by its id; nullptr when there is none.
const LabelSheet* labelSheetById(const QString& id);
// "Personnalisé": margins from the sheet's corner, gaps between labels.
LabelSheet customLabelSheet(int columns, int rows, double width, double height, double left, double top,
                            double gapAcross, double gapDown);
// Why sheet cannot be printed (no label, labels past the A4 sheet), or "".
QString labelSheetProblem(const LabelSheet& sheet);

// Where on a label its text may go: inside the label, clear of its edges.
QRectF labelTextArea(const QRectF& label);

struct Envelope {
    QString name;  // "DL"
    double width = 0, height = 0;
    // The address block's corner: 110 mm from the left and 55 mm from the top
    // of a DL, in proportion on the others.
    QPointF addressCorner() const { return {width * 110.0 / 220.0, height * 55.0 / 110.0}; }
};
const std::vector<Envelope>& envelopes();

// The blocks of the cards given (in that order), archived ones only when asked.
struct AddressBlocks {
    std::vector<QStringList> blocks;
    QStringList report;      // cut lines and cards without an address, before printing
    long long archived = 0;  // archived cards left out
};
Result<AddressBlocks> addressBlocks(const Database& db, const QList<long long>& cards, bool includeArchived);

// Labels the printer's unprintable edges (margins in mm) would cut: "" when
// none, else what to tell the user.
QString labelEdgeReport(const LabelSheet& sheet, const QMarginsF& unprintable);
// The same on an envelope's address and sender blocks.
QString envelopeEdgeReport(const Envelope& envelope, const QMarginsF& unprintable, bool withSender);

// A4 portrait (or the envelope, landscape), measured from the paper's corner;
// called before a preview so that it shows the pages as they will print.
void setLabelPage(QPagedPaintDevice& device);
void setEnvelopePage(QPagedPaintDevice& device, const Envelope& envelope);
// The printer's unprintable margins in mm, as device says them.
QMarginsF unprintableMargins(const QPagedPaintDevice& device);

// Labels from label start (1 is the sheet's first) on, sheet after sheet.
// Returns the pages used. The painter is begun and ended here.
Result<int> printLabels(QPagedPaintDevice& device, const LabelSheet& sheet, int start,
                        const std::vector<QStringList>& blocks);
// One envelope a page, the sender's lines at the top left when given.
Result<int> printEnvelopes(QPagedPaintDevice& device, const Envelope& envelope, const QStringList& sender,
                           const std::vector<QStringList>& blocks);

// What print draws, in a PDF file at path written whole or not at all.
Result<int> writePdf(const QString& path, const QString& title,
                     const std::function<Result<int>(QPagedPaintDevice&)>& print);
// An envelope size by its name ("DL"); nullptr when there is none.
const Envelope* envelopeByName(const QString& name);

}  // namespace tb
