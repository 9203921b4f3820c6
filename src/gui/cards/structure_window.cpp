#include "gui/cards/structure_window.h"

#include "core/cards/card_fields.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/external/launcher.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/menu_builder.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <algorithm>

namespace {

QString indexed(const char* base, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(i);
}

void openTemplate(AppContext& ctx, const QString& pathFile, const QString& name)
{
    const tb::Database* db = ctx.session.database();
    if (!db)
        return;
    tb::openWith(ctx.launcher, tb::storedProgram(ctx.session.programFolder(), pathFile), db->file(name));
}

}  // namespace

FFrance26::FFrance26(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance26"), QStringLiteral("Structure fiche individuelle"));

    auto* grid = new QGridLayout;
    auto* label2 = new QLabel(QStringLiteral("Rubriques actuelles"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto* label3 = new QLabel(QStringLiteral("Rubriques modifiées"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    grid->addWidget(label2, 0, 0);
    grid->addWidget(label3, 0, 1);

    const QStringList fixed = tb::fixedFieldCaptions();
    // Both columns wide enough for the longest fixed caption, whole.
    int widest = 0;
    for (const QString& caption : fixed)
        widest = std::max(widest, fontMetrics().horizontalAdvance(caption));
    widest += 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
    for (int i = 1; i <= 9; ++i) {
        const QString caption = i <= fixed.size() ? fixed[i - 1] : QString();
        auto* label = new QLabel(caption, this);
        label->setObjectName(indexed("Label1", i));
        auto* shown = new QLineEdit(caption, this);
        shown->setObjectName(indexed("Text1", i));
        shown->setReadOnly(true);
        shown->setCursorPosition(0);
        shown->setFocusPolicy(Qt::NoFocus);
        // Its value is the caption: heard as such, under the field's number.
        shown->setAccessibleName(QStringLiteral("Intitulé n° %1").arg(i));
        shown->setMinimumWidth(widest);
        label->setMinimumWidth(widest);
        grid->addWidget(label, i, 0);
        grid->addWidget(shown, i, 1);
    }

    // A double quote would cut the caption short when the card windows read it.
    auto* noQuote = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), this);
    for (int k = 0; k < kCustom; ++k) {
        const int i = 10 + k;
        m_current[size_t(k)] = new QLabel(this);
        m_current[size_t(k)]->setObjectName(indexed("Label1", i));
        m_typed[size_t(k)] = new QLineEdit(this);
        m_typed[size_t(k)]->setObjectName(indexed("Text1", i));
        m_typed[size_t(k)]->setValidator(noQuote);
        m_current[size_t(k)]->setBuddy(m_typed[size_t(k)]);
        grid->addWidget(m_current[size_t(k)], i, 0);
        grid->addWidget(m_typed[size_t(k)], i, 1);
    }

    auto* command1 = new QPushButton(QStringLiteral("Valider la modification"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setAccessibleName(command1->text());
    connect(command1, &QPushButton::clicked, this, &FFrance26::storeCaptions);
    // The captions scroll on a small screen; the button stays in view.
    QScrollArea* scroll = scrollingBody(grid);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(scroll, 1);
    outer->addWidget(command1);

    resize(wholeSize(scroll) + QSize(24, command1->sizeHint().height() + 30));
    placeOnScreen(this);
}

void FFrance26::prepare()
{
    const tb::Database* db = m_ctx.session.database();
    const QStringList captions = db ? db->captions() : QStringList();
    for (int k = 0; k < kCustom; ++k) {
        const QString caption = k < captions.size() ? captions[k] : QString();
        m_current[size_t(k)]->setText(shownAsWritten(caption));  // its buddy would take "&" as a letter
        m_typed[size_t(k)]->setAccessibleName(caption);
        m_typed[size_t(k)]->clear();
    }
}

void FFrance26::storeCaptions()
{
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    // A box left empty keeps the current caption (the database's, not its shown form).
    const QStringList current = db->captions();
    QStringList captions;
    for (int k = 0; k < kCustom; ++k) {
        const QString typed = m_typed[size_t(k)]->text();
        captions.append(typed.isEmpty() ? current.value(k) : typed);
    }
    if (tb::Status s = db->setCaptions(captions); !s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    hide();
}

void editSpreadsheetTemplate(AppContext& ctx)
{
    openTemplate(ctx, QStringLiteral("LogExcel.txt"), QStringLiteral("F.xls"));
}

void editNoteTemplate(AppContext& ctx)
{
    openTemplate(ctx, QStringLiteral("LogTxt.txt"), QStringLiteral("F.txt"));
}
