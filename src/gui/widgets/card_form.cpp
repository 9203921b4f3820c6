#include "gui/widgets/card_form.h"

#include "gui/app/dialogs.h"
#include "gui/app/windows.h"
#include "core/base/codepage.h"
#include "core/base/numeric.h"
#include "core/base/value_files.h"
#include "core/cards/card_fields.h"
#include "core/cards/card_store.h"
#include "core/cards/debt.h"
#include "core/map/photo_layout.h"
#include "core/map/preview_image.h"
#include "core/map/pins.h"
#include "core/postal/postal_directory.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

// ---- Cp1252Validator --------------------------------------------------------

QValidator::State Cp1252Validator::validate(QString& input, int&) const
{
    return tb::fitsCp1252(input) ? Acceptable : Invalid;
}

// ---- FieldEdit ----------------------------------------------------------------

namespace {
int trimmedLength(const QString& text)
{
    int n = int(text.size());
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return n;
}
}  // namespace

FieldEdit::FieldEdit(int width, QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(width);
    setValidator(new Cp1252Validator(this));
}

void FieldEdit::makeRoom(int needed)
{
    const QString t = text();
    const int room = maxLength() - int(t.size());
    if (room >= needed || hasSelectedText())
        return;
    // Only padding blanks after the cursor may go.
    const int cursor = cursorPosition();
    const int removable = int(t.size()) - std::max(trimmedLength(t), cursor);
    const int drop = std::min(removable, needed - room);
    if (drop <= 0)
        return;
    setText(t.left(t.size() - drop));
    setCursorPosition(cursor);
}

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed[0].isPrint() && !hasSelectedText()) {
        // At the end of a full padded field (after a card is loaded, or End)
        // the user means the end of the text, not of its padding.
        const QString t = text();
        if (t.size() >= maxLength() && cursorPosition() == t.size())
            setCursorPosition(trimmedLength(t));
        makeRoom(int(typed.size()));
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    const int end = trimmedLength(text());
    if (!hasSelectedText() && cursorPosition() > end)
        setCursorPosition(end);
}

// ---- ClickableLabel / PhotoFrame ----------------------------------------------

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

PhotoFrame::PhotoFrame(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void PhotoFrame::setImage(const QImage& image)
{
    m_image = image;
    update();
}

QRect PhotoFrame::pictureRect() const
{
    const QRect inner = contentsRect();
    return tb::photoRect(m_image.size(), inner.size()).translated(inner.topLeft());
}

void PhotoFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRect(contentsRect());
    p.drawImage(pictureRect(), m_image);
}

void PhotoFrame::mousePressEvent(QMouseEvent* event)
{
    QFrame::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

// ---- CardFormWidget -----------------------------------------------------------

namespace {
QString arrayName(const char* base, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(i);
}

void paint(QLabel* label, const QColor& color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, color);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}
}  // namespace

CardFormWidget::CardFormWidget(AppContext& ctx, const Names& names, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    build(names);
}

void CardFormWidget::build(const Names& names)
{
    const QStringList fixed = tb::fixedFieldCaptions();
    const QFontMetrics fm(font());
    for (int i = 0; i < CardRecord::kFieldCount; ++i) {
        const int width = CardRecord::kWidths[size_t(i)];
        auto* edit = new FieldEdit(width, this);
        edit->setObjectName(arrayName("Text1", i));
        // Room for the usual texts; a field of 40 would be too wide in full.
        edit->setMinimumWidth(fm.averageCharWidth() * std::min(width, 32) + 16);
        Text1[size_t(i)] = edit;
        auto* caption = new QLabel(this);
        caption->setObjectName(arrayName("Label1", i));
        caption->setBuddy(edit);
        if (i >= 1 && i <= 9) {
            caption->setText(fixed[i - 1]);
            edit->setAccessibleName(fixed[i - 1]);
        }
        Label1[size_t(i)] = caption;
    }
    Text1[0]->setVisible(false);
    Label1[0]->setVisible(false);

    Option1 = new QRadioButton(QStringLiteral("Monsieur"), this);
    Option2 = new QRadioButton(QStringLiteral("Madame"), this);
    Option3 = new QRadioButton(QStringLiteral("Mademoiselle"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3->setObjectName(QStringLiteral("Option3"));
    for (QRadioButton* o : {Option1, Option2, Option3}) {
        o->setAccessibleName(o->text());
        connect(o, &QRadioButton::clicked, this, [this, o] { Text1[1]->setText(o->text()); });
    }

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Département"));
    Combo1->setMaxVisibleItems(20);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { fillCommunes(); });
    connect(Combo1, &QComboBox::activated, this, &CardFormWidget::departmentChosen);
    auto* deptCaption = new QLabel(QStringLiteral("Département"), this);
    deptCaption->setBuddy(Combo1);

    communes = new QListWidget(this);
    communes->setObjectName(names.communeList);
    communes->setAccessibleName(QStringLiteral("Communes"));
    communes->setUniformItemSizes(true);
    communes->setMinimumHeight(110);
    connect(communes, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseCommune(communes->row(item)); });
    connect(communes, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { chooseCommune(communes->row(item)); });

    for (int m = 1; m <= 7; ++m) {
        auto* square = new ClickableLabel(this);
        square->setObjectName(QStringLiteral("Label%1").arg(names.firstSquare + m - 1));
        square->setFixedSize(22, 22);
        square->setFrameShape(QFrame::Box);
        square->setAccessibleName(QStringLiteral("Marqueur %1").arg(m));
        square->setToolTip(square->accessibleName());
        square->setCursor(Qt::PointingHandCursor);
        paint(square, tb::swatchColor(m));
        connect(square, &ClickableLabel::clicked, this, [this, m] { chooseMarker(m); });
        squares[size_t(m - 1)] = square;
    }
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFixedSize(46, 22);
    Label4->setFrameShape(QFrame::Box);
    Label4->setAccessibleName(QStringLiteral("Couleur du marqueur"));
    markerCaption = new QLabel(QStringLiteral("Marqueur"), this);
    markerCaption->setObjectName(names.markerCaption);

    Picture1 = new PhotoFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Photo"));
    Picture1->setFixedSize(150, 180);
    Pctdim = new QLabel(this);
    Pctdim->setObjectName(QStringLiteral("Pctdim"));
    Pctdim->setVisible(false);

    // Left: civility, fields 2 to 10, department and communes.
    auto* left = new QGridLayout;
    auto* civility = new QHBoxLayout;
    civility->addWidget(Option1);
    civility->addWidget(Option2);
    civility->addWidget(Option3);
    civility->addStretch();
    left->addLayout(civility, 0, 0, 1, 2);
    for (int i = 1; i <= 9; ++i) {
        left->addWidget(Label1[size_t(i)], i, 0);
        left->addWidget(Text1[size_t(i)], i, 1);
    }
    left->addWidget(deptCaption, 10, 0);
    left->addWidget(Combo1, 10, 1);
    left->addWidget(communes, 11, 0, 1, 2);
    left->setRowStretch(11, 1);

    // Right: custom fields 11 to 20, then pin colour and photo.
    auto* right = new QGridLayout;
    for (int i = 10; i < CardRecord::kFieldCount; ++i) {
        right->addWidget(Label1[size_t(i)], i - 10, 0);
        right->addWidget(Text1[size_t(i)], i - 10, 1);
    }
    auto* colours = new QVBoxLayout;
    auto* swatchRow = new QHBoxLayout;
    swatchRow->addWidget(markerCaption);
    swatchRow->addWidget(Label4);
    swatchRow->addStretch();
    auto* squareRow = new QHBoxLayout;
    squareRow->setSpacing(4);
    for (ClickableLabel* s : squares)
        squareRow->addWidget(s);
    squareRow->addStretch();
    colours->addStretch();
    colours->addLayout(swatchRow);
    colours->addLayout(squareRow);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(colours);
    bottom->addStretch();
    bottom->addWidget(Picture1);
    right->addLayout(bottom, 10, 0, 1, 2);
    right->setRowStretch(11, 1);

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);
}

std::array<QString, CardRecord::kFieldCount> CardFormWidget::texts() const
{
    std::array<QString, CardRecord::kFieldCount> t;
    for (size_t i = 0; i < t.size(); ++i)
        t[i] = Text1[i]->text();
    return t;
}

void CardFormWidget::setTexts(const std::array<QString, CardRecord::kFieldCount>& texts)
{
    for (size_t i = 0; i < texts.size(); ++i) {
        Text1[i]->setText(texts[i]);
        // Show the beginning of the text, not the end of its padding.
        Text1[i]->setCursorPosition(0);
    }
}

void CardFormWidget::clearFields()
{
    for (QLineEdit* e : Text1)
        e->clear();
}

void CardFormWidget::loadCaptions()
{
    const QStringList captions = CardStore(m_ctx.values.Label2).readCaptions();
    for (int i = 0; i < 10; ++i) {
        const QString caption = i < captions.size() ? captions[i] : QString();
        Label1[size_t(10 + i)]->setText(caption);
        Text1[size_t(10 + i)]->setAccessibleName(caption);
    }
}

void CardFormWidget::clearCustomCaptions()
{
    for (int i = 10; i < CardRecord::kFieldCount; ++i) {
        Label1[size_t(i)]->clear();
        Text1[size_t(i)]->setAccessibleName(QString());
    }
}

void CardFormWidget::loadDepartments()
{
    const QString folder = m_ctx.values.programFolder();
    {
        const QSignalBlocker block(Combo1);
        Combo1->clear();
        Combo1->addItems(tb::readDepartments(folder));
        const long long p = tb::numericInteger(tb::readFirstValue(folder + QStringLiteral("DeptCourant.txt")));
        if (p >= 0 && p < Combo1->count())
            Combo1->setCurrentIndex(int(p));
    }
    fillCommunes();
}

void CardFormWidget::fillCommunes()
{
    QDir::setCurrent(m_ctx.values.programFolder());
    communes->clear();
    const QString entry = Combo1->currentText();
    if (entry.isEmpty())
        return;
    const double d = tb::numericValue(QStringView(entry).left(2));
    communes->addItems(tb::departmentListing(m_ctx.values.programFolder(), d));
}

void CardFormWidget::chooseCommune(int row)
{
    const QListWidgetItem* item = communes->item(row);
    if (!item)
        return;
    Text1[5]->setText(tb::postalCodeOfLine(item->text()));
    Text1[6]->setText(tb::cityOfLine(item->text()));
}

void CardFormWidget::chooseMarker(int digit)
{
    m_ctx.values.Label10 = QString::number(digit);
    Text1[0]->setText(tb::withMarker(Text1[0]->text(), QChar(u'0' + digit)));
    setSwatchColor(tb::swatchColor(digit));
    if (m_ctx.windows)
        m_ctx.windows->refreshSwatches();
    m_ctx.dialogs.beep();
}

void CardFormWidget::setSwatchColor(const QColor& color)
{
    if (color.isValid())
        paint(Label4, color);
}

void CardFormWidget::paintSwatchFromMarker()
{
    // An invalid colour (no marker) leaves the swatch as it was.
    setSwatchColor(tb::swatchColor(tb::markerOf(m_ctx.values.Label10)));
}

void CardFormWidget::computeDebt(bool rightAlign)
{
    const auto result = tb::debtCalculation(Text1[14]->text(), Text1[15]->text(), Text1[16]->text(),
                                            Text1[18]->text());
    for (size_t k = 0; k < result.size(); ++k) {
        QLineEdit* box = Text1[size_t(tb::kDebtFieldIndexes[k])];
        box->setText(result[k]);
        if (rightAlign)
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void CardFormWidget::loadCardPhoto(long long n)
{
    clearPhoto();
    if (n < 1 || !m_ctx.values.hasDatabase())
        return;
    const QString path = CardStore(m_ctx.values.Label2).sideFile(QStringLiteral("photo"), n, QStringLiteral(".jpg"));
    QSize natural;
    const QImage image = tb::loadPreview(path, Picture1->contentsRect().size(), &natural);
    Pctdim->resize(natural.isValid() ? natural : QSize(0, 0));
    Picture1->setImage(image);
}

void CardFormWidget::clearPhoto()
{
    Pctdim->clear();
    Picture1->setImage(QImage());
}
