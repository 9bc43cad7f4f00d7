#include "ui/about/AboutDialog.h"

#include "text/TextTable.h"
#include "ui/about/LinkLabel.h"
#include "ui/about/VersionText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

const char16_t kTitle[] = u"バージョン情報";
const char16_t kNotice[] = u"本ソフトウェアの全部または一部を、権利者の許可なく複製、改変、配布することを禁じます。\n"
                           u"本ソフトウェアの使用により生じた損害について、権利者は責任を負いません。";
const char16_t kRightsHolderLine[] = u"© 2026 KVR-M48C viewer developers";

// The template is laid out in dialog units: a quarter of the font's mean
// character width across, an eighth of its height down.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
        baseY_ = metrics.height();
    }
    QRect rect(int x, int y, int w, int h) const { return {toX(x), toY(y), toX(w), toY(h)}; }
    QSize size(int w, int h) const { return {toX(w), toY(h)}; }

private:
    int toX(int units) const { return (units * baseX_ + 2) / 4; }
    int toY(int units) const { return (units * baseY_ + 4) / 8; }

    int baseX_;
    int baseY_;
};

QFont dialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(11);
    return font;
}

// A static text control; id 0 for one that nothing refers to.
QLabel* addStatic(QWidget* dialog, int id, const QRect& rect, Qt::Alignment alignment)
{
    auto* label = new QLabel(dialog);
    if (id != 0)
        label->setObjectName(QString::number(id));
    label->setGeometry(rect);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutDialog::AboutDialog() : Dialog(kTemplate)
{
    noticeFont_.setFamily(QStringLiteral("Arial"));
    noticeFont_.setPointSize(11);
    noticeFont_.setWeight(QFont::Normal);
}

void AboutDialog::build()
{
    setWindowTitle(QString::fromUtf16(kTitle));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(172, 161));

    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    addStatic(this, kProductName, units.rect(7, 17, 158, 8), centred);
    addStatic(this, kVersion, units.rect(7, 29, 158, 11), centred);
    addStatic(this, 0, units.rect(15, 47, 143, 53), Qt::AlignLeft | Qt::AlignTop)->setText(QString::fromUtf16(kNotice));
    addStatic(this, kRightsHolder, units.rect(7, 100, 158, 34), centred)->setText(QString::fromUtf16(kRightsHolderLine));

    // The link to the maker's page is made but never shown.
    auto* link = new LinkLabel(this, QString());
    link->setObjectName(QString::number(kLink));
    link->setGeometry(units.rect(43, 126, 87, 8));
    link->hide();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QString::number(kOkButton));
    ok->setGeometry(units.rect(61, 139, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { endDialog(kOk); });
}

void AboutDialog::initDialog()
{
    findChild<QLabel*>(QString::number(kProductName))->setText(resourceText(TextId::ProductName));
    findChild<QLabel*>(QString::number(kVersion))
        ->setText(QStringLiteral("Version %1").arg(fileVersionText()).left(255));
    findChild<QLabel*>(QString::number(kRightsHolder))->setFont(noticeFont_);
    Dialog::initDialog();
}
