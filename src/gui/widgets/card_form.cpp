#include "gui/widgets/card_form.h"

#include "core/base/numeric.h"
#include "core/cards/card_fields.h"
#include "core/cards/debt.h"
#include "core/db/database.h"
#include "core/db/program_folder.h"
#include "core/db/session.h"
#include "core/map/pins.h"
#include "core/map/preview_image.h"
#include "core/postal/postal_directory.h"
#include "gui/app/dialogs.h"
#include "gui/widgets/colour_square.h"
#include "gui/widgets/field_edit.h"
#include "gui/widgets/menu_builder.h"
#include "gui/widgets/photo_frame.h"
#include "gui/widgets/radio_arrows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString arrayName(const char* base, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(i);
}

QString trimmedEnd(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n);
}
}  // namespace

CardFormWidget::CardFormWidget(AppContext& ctx, const Names& names, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    build(names);
    connect(&m_ctx.session, &tb::Session::markerChanged, this, &CardFormWidget::paintSwatch);
    paintSwatch(m_ctx.session.marker());
    // Open card windows show new captions at once.
    connect(&m_ctx.session, &tb::Session::databaseChanged, this, &CardFormWidget::followCaptions);
    followCaptions();
}

void CardFormWidget::followCaptions()
{
    disconnect(m_captionsLink);
    if (tb::Database* db = m_ctx.session.database())
        m_captionsLink = connect(db, &tb::Database::captionsChanged, this, &CardFormWidget::loadCaptions);
}

void CardFormWidget::build(const Names& names)
{
    const QStringList fixed = tb::fixedFieldCaptions();
    for (int i = 1; i < CardRecord::kFieldCount; ++i) {
        auto* edit = new FieldEdit(CardRecord::kWidths[size_t(i)], this);
        edit->setObjectName(arrayName("Text1", i));
        m_fields[size_t(i)] = edit;
        auto* caption = new QLabel(this);
        caption->setObjectName(arrayName("Label1", i));
        caption->setBuddy(edit);
        if (i <= 9) {
            caption->setText(fixed[i - 1]);
            edit->setAccessibleName(fixed[i - 1]);
        }
        m_captions[size_t(i)] = caption;
    }
    connect(field(tb::kFieldPostalCode), &QLineEdit::textEdited, this, &CardFormWidget::followPostalCode);

    const QStringList civilities = {QStringLiteral("Monsieur"), QStringLiteral("Madame"), QStringLiteral("Mademoiselle")};
    for (int k = 0; k < 3; ++k) {
        auto* o = new QRadioButton(civilities[k], this);
        o->setObjectName(QStringLiteral("Option%1").arg(k + 1));
        o->setAccessibleName(civilities[k]);
        // The shown text gains an underlined letter; the field takes the civility itself.
        connect(o, &QRadioButton::clicked, this,
                [this, civility = civilities[k]] { field(tb::kFieldCivility)->setText(civility); });
        m_civility[size_t(k)] = o;
    }
    chooseWithArrows({m_civility.begin(), m_civility.end()});

    m_departments = new QComboBox(this);
    m_departments->setObjectName(QStringLiteral("Combo1"));
    m_departments->setAccessibleName(QStringLiteral("Département"));
    m_departments->setMaxVisibleItems(20);
    connect(m_departments, &QComboBox::currentIndexChanged, this, [this] { fillCommunes(); });
    connect(m_departments, &QComboBox::activated, this, &CardFormWidget::departmentChosen);
    auto* deptCaption = new QLabel(QStringLiteral("Département"), this);
    deptCaption->setBuddy(m_departments);

    m_communes = new QListWidget(this);
    m_communes->setObjectName(names.communeList);
    m_communes->setAccessibleName(QStringLiteral("Communes"));
    m_communes->setUniformItemSizes(true);
    m_communes->setMinimumHeight(110);
    connect(m_communes, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseCommune(m_communes->row(item)); });
    connect(m_communes, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseCommune(m_communes->row(item)); });

    for (int m = 1; m <= 7; ++m) {
        auto* square = new ColourSquare(m, this);
        square->setObjectName(QStringLiteral("Label%1").arg(names.firstSquare + m - 1));
        connect(square, &ColourSquare::chosen, this, [this, m] { chooseMarker(m); });
        m_squares[size_t(m - 1)] = square;
    }
    m_swatch = new QLabel(this);
    m_swatch->setObjectName(QStringLiteral("Label4"));
    m_swatch->setFixedSize(46, 22);
    m_swatch->setFrameShape(QFrame::Box);
    m_swatch->setAccessibleName(QStringLiteral("Couleur du marqueur"));
    m_markerCaption = new QLabel(QStringLiteral("Marqueur"), this);
    m_markerCaption->setObjectName(names.markerCaption);

    m_photo = new PhotoFrame(this);
    m_photo->setObjectName(QStringLiteral("Picture1"));
    m_photo->setAccessibleName(QStringLiteral("Photo"));
    m_photo->setFixedSize(150, 180);
    connect(m_photo, &PhotoFrame::clicked, this, &CardFormWidget::photoClicked);

    // Left: civility, fields 2 to 10, department and communes.
    auto* left = new QGridLayout;
    auto* civility = new QHBoxLayout;
    for (QRadioButton* o : m_civility)
        civility->addWidget(o);
    civility->addStretch();
    left->addLayout(civility, 0, 0, 1, 2);
    for (int i = 1; i <= 9; ++i) {
        left->addWidget(m_captions[size_t(i)], i, 0);
        left->addWidget(m_fields[size_t(i)], i, 1);
    }
    left->addWidget(deptCaption, 10, 0);
    left->addWidget(m_departments, 10, 1);
    left->addWidget(m_communes, 11, 0, 1, 2);
    left->setRowStretch(11, 1);

    // Right: custom fields 11 to 20, then pin colour and photo.
    auto* right = new QGridLayout;
    for (int i = 10; i < CardRecord::kFieldCount; ++i) {
        right->addWidget(m_captions[size_t(i)], i - 10, 0);
        right->addWidget(m_fields[size_t(i)], i - 10, 1);
    }
    auto* colours = new QVBoxLayout;
    auto* swatchRow = new QHBoxLayout;
    swatchRow->addWidget(m_markerCaption);
    swatchRow->addWidget(m_swatch);
    swatchRow->addStretch();
    auto* squareRow = new QHBoxLayout;
    squareRow->setSpacing(4);
    for (ColourSquare* s : m_squares)
        squareRow->addWidget(s);
    squareRow->addStretch();
    colours->addStretch();
    colours->addLayout(swatchRow);
    colours->addLayout(squareRow);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(colours);
    bottom->addStretch();
    bottom->addWidget(m_photo);
    right->addLayout(bottom, 10, 0, 1, 2);
    right->setRowStretch(11, 1);

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);
    chainTabOrder();
}

void CardFormWidget::chainTabOrder()
{
    // The reading order: the left column from top to bottom, then the right one.
    std::vector<QWidget*> order(m_civility.begin(), m_civility.end());
    for (int i = 1; i <= 9; ++i)
        order.push_back(m_fields[size_t(i)]);
    order.push_back(m_departments);
    order.push_back(m_communes);
    for (int i = 10; i < CardRecord::kFieldCount; ++i)
        order.push_back(m_fields[size_t(i)]);
    for (ColourSquare* s : m_squares)
        order.push_back(s);
    for (size_t k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

QWidget* CardFormWidget::firstInTabOrder() const
{
    return m_civility[0];
}

QWidget* CardFormWidget::firstField() const
{
    return field(tb::kFieldCivility);
}

QWidget* CardFormWidget::lastInTabOrder() const
{
    return m_squares.back();
}

CardFormWidget::Texts CardFormWidget::texts() const
{
    Texts t;
    t[0] = m_pin.text();
    for (size_t i = 1; i < t.size(); ++i)
        t[i] = m_fields[i]->text();
    return t;
}

void CardFormWidget::setTexts(const Texts& texts)
{
    setPin(tb::PinField::read(texts[0]));
    for (size_t i = 1; i < texts.size(); ++i) {
        // The record's padding blanks are not part of what the user typed.
        m_fields[i]->setText(trimmedEnd(texts[i]));
        m_fields[i]->setCursorPosition(0);
        m_fields[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    showCivility(text(tb::kFieldCivility));
}

FieldEdit* CardFormWidget::field(tb::CardField k) const
{
    Q_ASSERT(k != tb::kFieldPosition);
    return m_fields[tb::fieldIndex(k)];
}

void CardFormWidget::setPin(const tb::PinField& pin)
{
    m_pin = pin;
    emit pinChanged();
}

QString CardFormWidget::text(tb::CardField k) const
{
    return field(k)->text();
}

void CardFormWidget::setText(tb::CardField k, const QString& text)
{
    field(k)->setText(trimmedEnd(text));
    if (k == tb::kFieldCivility)
        showCivility(text);
}

void CardFormWidget::clearFields()
{
    setPin(tb::PinField());
    for (FieldEdit* e : m_fields) {
        if (!e)
            continue;
        e->clear();
        e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    showCivility(QString());
}

void CardFormWidget::showCivility(const QString& civility)
{
    // A card without a civility shows no button ticked.
    for (QRadioButton* o : m_civility) {
        o->setAutoExclusive(false);
        o->setChecked(o->accessibleName() == civility.trimmed());
        o->setAutoExclusive(true);
    }
}

void CardFormWidget::loadCaptions()
{
    const tb::Database* db = m_ctx.session.database();
    const QStringList captions = db ? db->captions() : QStringList();
    for (int i = 0; i < 10; ++i) {
        const QString caption = i < captions.size() ? captions[i] : QString();
        // A label with a buddy reads "&" as its letter: shown as written instead.
        m_captions[size_t(10 + i)]->setText(shownAsWritten(caption));
        m_fields[size_t(10 + i)]->setAccessibleName(caption);
    }
}

void CardFormWidget::clearCustomCaptions()
{
    for (int i = 10; i < CardRecord::kFieldCount; ++i) {
        m_captions[size_t(i)]->clear();
        m_fields[size_t(i)]->setAccessibleName(QString());
    }
}

void CardFormWidget::loadDepartments()
{
    const QString folder = m_ctx.session.programFolder();
    {
        const QSignalBlocker block(m_departments);
        m_departments->clear();
        m_departments->addItems(tb::readDepartments(folder));
        const int p = tb::currentDepartment(folder);
        if (p >= 0 && p < m_departments->count())
            m_departments->setCurrentIndex(p);
    }
    fillCommunes();
}

void CardFormWidget::showDepartment(int row)
{
    if (row < 0)
        row = tb::currentDepartment(m_ctx.session.programFolder());
    if (row >= 0 && row < m_departments->count() && row != m_departments->currentIndex())
        m_departments->setCurrentIndex(row);
}

void CardFormWidget::takePostalCode(const QString& code)
{
    field(tb::kFieldPostalCode)->setText(code);
    followPostalCode(code);
}

void CardFormWidget::followPostalCode(const QString& typed)
{
    const tb::TypedPostalCode found = tb::lookUpTypedPostalCode(m_ctx.session.programFolder(), typed.trimmed());
    if (found.departmentRow < 0)
        return;
    showDepartment(found.departmentRow);
    if (found.communes.size() == 1) {
        field(tb::kFieldCity)->setText(tb::cityOfLine(found.communes.first()));
        const QList<QListWidgetItem*> line = m_communes->findItems(found.communes.first(), Qt::MatchExactly);
        if (!line.isEmpty())
            m_communes->setCurrentItem(line.first());
    } else if (found.communes.size() > 1) {
        m_communes->clear();
        m_communes->addItems(found.communes);
        m_communes->setCurrentRow(0);
    }
}

void CardFormWidget::fillCommunes()
{
    m_communes->clear();
    const QString entry = m_departments->currentText();
    if (entry.isEmpty())
        return;
    const double d = tb::numericValue(QStringView(entry).left(2));
    m_communes->addItems(tb::departmentListing(m_ctx.session.programFolder(), d));
}

void CardFormWidget::chooseCommune(int row)
{
    const QListWidgetItem* item = m_communes->item(row);
    if (!item)
        return;
    field(tb::kFieldPostalCode)->setText(tb::postalCodeOfLine(item->text()));
    field(tb::kFieldCity)->setText(tb::cityOfLine(item->text()));
}

void CardFormWidget::chooseMarker(int digit)
{
    m_ctx.session.setMarker(digit);
    setPin(m_pin.withMarker(QChar(u'0' + digit)));
    paintSwatch(digit);
    m_ctx.dialogs.beep();
}

void CardFormWidget::paintSwatch(int marker)
{
    // No marker (an archived card) leaves the swatch as it was.
    const QColor color = tb::swatchColor(marker);
    if (!color.isValid())
        return;
    QPalette pal = m_swatch->palette();
    pal.setColor(QPalette::Window, color);
    m_swatch->setPalette(pal);
    m_swatch->setAutoFillBackground(true);
}

void CardFormWidget::computeDebt(bool rightAlign)
{
    const auto result = tb::debtCalculation(text(tb::kFieldOwed), text(tb::kFieldInterestOwed),
                                            text(tb::kFieldThirdOwed), text(tb::kFieldCollected));
    for (size_t k = 0; k < result.size(); ++k) {
        FieldEdit* box = field(tb::kDebtFields[k]);
        box->setText(result[k]);
        if (rightAlign)
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

QString CardFormWidget::loadCardPhoto(long long n)
{
    clearPhoto();
    const tb::Database* db = m_ctx.session.database();
    if (n < 1 || !db)
        return {};
    const QString path = db->findSideFile(tb::SideFile::Photo, n);
    if (const tb::PictureCheck check = tb::checkPicture(path); check != tb::PictureCheck::Loadable)
        return tb::pictureRefusal(check);
    QSize natural;
    const QImage image = tb::loadPreview(path, m_photo->contentsRect().size(), &natural);
    m_photoSize = natural.isValid() ? natural : QSize(0, 0);
    m_photo->setImage(image);
    return {};
}

void CardFormWidget::showPhoto(const QByteArray& bytes)
{
    QSize natural;
    const QImage image = tb::loadPreviewData(bytes, m_photo->contentsRect().size(), &natural);
    m_photoSize = image.isNull() ? QSize() : natural;
    m_photo->setImage(image);
}

void CardFormWidget::clearPhoto()
{
    m_photoSize = QSize();
    m_photo->setImage(QImage());
}
