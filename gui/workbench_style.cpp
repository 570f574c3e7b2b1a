#include "gui/workbench_style.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <utility>

namespace {

// The classic look of the desktop the layout was drawn for: bevelled
// buttons, sunken fields, titles set into the etched frame of their group.
// It is also cheap to paint, which every step's repaint feels.
//
// Captions, titles and static texts keep their laid-out lines: the same few
// texts are drawn again behind every control that changes, and laying out
// (shaping) a line cost more than drawing it.
class WorkbenchStyle : public QProxyStyle
{
public:
    WorkbenchStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
    {
    }

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
                      const QString &text, QPalette::ColorRole textRole) const override
    {
        if (!drawsAsOneLine(flags, enabled, text)) {
            QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
            return;
        }
        const QTextLine line = laidOutLine(text, painter->font());

        // Placed as QPainter::drawText(rect, flags, text) places one line.
        const qreal width = line.naturalTextWidth();
        const qreal height = line.ascent() + line.descent();
        qreal x = 0;
        qreal y = 0;
        if (flags & Qt::AlignRight)
            x = rect.width() - line.horizontalAdvance();
        else if (flags & Qt::AlignHCenter)
            x = (rect.width() - line.horizontalAdvance()) / 2;
        if (flags & Qt::AlignBottom)
            y = rect.height() - height;
        else if (flags & Qt::AlignVCenter)
            y = (rect.height() - height) / 2;
        const QRectF bounds(rect.x() + x, rect.y() + y, width, height);

        painter->save();
        const QPointF at(rect.x() + x, rect.y() + y);
        const bool clip = !(flags & Qt::TextDontClip) && !QRectF(rect).contains(bounds);
        if (!enabled && proxy()->styleHint(SH_EtchDisabledText)) {
            // The light copy one pixel down and right, under the text.
            painter->save();
            painter->setPen(palette.light().color());
            if (clip)
                painter->setClipRect(rect.translated(1, 1), Qt::IntersectClip);
            line.draw(painter, at + QPointF(1, 1));
            painter->restore();
        }
        if (textRole != QPalette::NoRole)
            painter->setPen(QPen(palette.brush(textRole), painter->pen().widthF()));
        if (clip)
            painter->setClipRect(rect, Qt::IntersectClip);
        line.draw(painter, at);
        painter->restore();
    }

private:
    // What needs no more than one laid-out line: no line breaks, tabs or
    // mnemonics, no wrapping, and no dithered disabled look.
    bool drawsAsOneLine(int flags, bool enabled, const QString &text) const
    {
        if (text.isEmpty()
            || (flags
                & (Qt::TextWordWrap | Qt::TextWrapAnywhere | Qt::TextExpandTabs | Qt::TextJustificationForced
                   | Qt::TextIncludeTrailingSpaces)))
            return false;
        if (!enabled && proxy()->styleHint(SH_DitherDisabledText))
            return false;
        for (const QChar c : text) {
            if (c == u'&' || c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator)
                return false;
        }
        return true;
    }

    QTextLine laidOutLine(const QString &text, const QFont &font) const
    {
        const auto key = std::make_pair(text, font);
        auto found = m_lines.find(key);
        if (found == m_lines.end()) {
            // Texts that change with the work, such as counts in the status
            // bar, would make the cache grow without end.
            if (m_lines.size() >= 512)
                m_lines.clear();
            auto layout = std::make_shared<QTextLayout>(text, font);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            QTextLine line = layout->createLine();
            line.setLineWidth(0x01000000);
            layout->endLayout();
            found = m_lines.insert(key, layout);
        }
        return found.value()->lineAt(0);
    }

    mutable QHash<std::pair<QString, QFont>, std::shared_ptr<QTextLayout>> m_lines;
};

struct ControlLook {
    const char *name;
    const char *family;
    int pixelSize;
    bool bold = false;
    bool italic = false;
    QColor text = {};       // text on its background, or the default
    QColor background = {}; // text areas only
};

const QColor Maroon(0x80, 0x00, 0x00);
const QColor DarkGreen(0x00, 0x80, 0x00);
const QColor Yellow(0xFF, 0xFF, 0x00);

const ControlLook ControlLooks[] = {
    {.name = "Label1", .family = "Times New Roman", .pixelSize = 21, .bold = true, .italic = true, .text = Maroon},
    {.name = "Memo1",
     .family = "Courier New",
     .pixelSize = 16,
     .bold = true,
     .text = Yellow,
     .background = QColor(0x00, 0x00, 0x80)},
    {.name = "Memo2",
     .family = "Courier New",
     .pixelSize = 16,
     .bold = true,
     .text = Qt::black,
     .background = QColor(0xC8, 0xC8, 0xC8)},
    {.name = "Memo3", .family = "Courier New", .pixelSize = 16, .bold = true, .text = Yellow, .background = Qt::black},
    {.name = "RadioGroup1", .family = "MS Sans Serif", .pixelSize = 13},
    {.name = "ComboBox1", .family = "Courier New", .pixelSize = 17, .bold = true},
    {.name = "Edit1", .family = "Courier New", .pixelSize = 16, .bold = true},
    {.name = "Edit2", .family = "Courier New", .pixelSize = 16, .bold = true},
    {.name = "Edit3", .family = "Courier New", .pixelSize = 11, .bold = true},
    {.name = "Edit4", .family = "Courier New", .pixelSize = 13, .bold = true},
    {.name = "StaticText1", .family = "MS Sans Serif", .pixelSize = 11, .text = DarkGreen},
    {.name = "StaticText2", .family = "MS Sans Serif", .pixelSize = 11, .text = Maroon},
    {.name = "StaticText3", .family = "MS Sans Serif", .pixelSize = 11, .text = DarkGreen},
    {.name = "StaticText4", .family = "MS Sans Serif", .pixelSize = 11, .text = QColor(0xFF, 0x00, 0x00)},
};

} // namespace

void InstallWorkbenchLook()
{
    // The Liberation faces share the metrics of the Windows faces, so texts
    // take the room the layout gives them.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("CourierNew"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    // The bitmap face of the layout is a little narrower than its stand-in;
    // 97 % width keeps the longest static texts within their boxes.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStretch(97);
    QApplication::setFont(font);

    QApplication::setStyle(new WorkbenchStyle);
}

void DressControls(QWidget *window)
{
    for (const ControlLook &look : ControlLooks) {
        auto *control = window->findChild<QWidget *>(QLatin1String(look.name));
        if (!control)
            continue;
        // Only what is named here is set; the rest, such as the width, comes
        // from the application font.
        QFont font(QString::fromLatin1(look.family));
        font.setPixelSize(look.pixelSize);
        font.setBold(look.bold);
        font.setItalic(look.italic);
        // Capitals and digits in a fixed-pitch face need no kerning or
        // ligatures; skipping them makes laying out the long texts in these
        // fields a third faster. Scripts that need shaping still get it.
        if (qstrcmp(look.family, "Courier New") == 0)
            font.setStyleStrategy(QFont::PreferNoShaping);
        control->setFont(font);

        if (look.text.isValid() || look.background.isValid()) {
            QPalette palette = control->palette();
            if (look.background.isValid()) {
                palette.setColor(QPalette::Text, look.text);
                palette.setColor(QPalette::Base, look.background);
            } else {
                palette.setColor(QPalette::WindowText, look.text);
            }
            control->setPalette(palette);
        }
    }
}
