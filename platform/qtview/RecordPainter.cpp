#include "qtview/RecordPainter.h"

#include "qtview/WindowFonts.h"

namespace nd::qtview {
namespace {

constexpr UINT kDtRight = 0x2;
constexpr UINT kDtBottom = 0x8;
constexpr UINT kDtWordBreak = 0x10;
constexpr UINT kDtNoPrefix = 0x800;

QRect qtRect(const RECT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QPen penFor(COLORREF color) {
    return color == CLR_NONE ? QPen(Qt::NoPen) : QPen(qtColor(color));
}

QBrush brushFor(COLORREF color) {
    return color == CLR_NONE ? QBrush(Qt::NoBrush) : QBrush(qtColor(color));
}

int alignmentFor(UINT format) {
    int flags = 0;
    if (format & DT_CENTER) {
        flags |= Qt::AlignHCenter;
    } else if (format & kDtRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            flags |= Qt::AlignVCenter;
        } else if (format & kDtBottom) {
            flags |= Qt::AlignBottom;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
        if (format & kDtWordBreak) {
            flags |= Qt::TextWordWrap;
        }
    }
    return flags;
}

void drawText(QPainter& painter, const nd::win32::DrawRecord& r) {
    painter.setFont(qtFont(r.font));
    QString text = (r.format & kDtNoPrefix) ? qtText(r.text) : withoutMnemonics(r.text);
    bool atPoint = r.rect.right == r.rect.left && r.rect.bottom == r.rect.top;
    QRect box = atPoint ? QRect(r.rect.left, r.rect.top, 4096, 4096) : qtRect(r.rect);
    int flags = atPoint ? (Qt::AlignLeft | Qt::AlignTop) : alignmentFor(r.format);
    if (r.backMode == OPAQUE) {
        QRect used = painter.boundingRect(box, flags, text);
        painter.fillRect(used, qtColor(r.backColor));
    }
    painter.setPen(qtColor(r.textColor));
    painter.drawText(box, flags, text);
}

void drawImage(QPainter& painter, const RECT& rect, const QImage& image) {
    if (image.isNull()) {
        return;
    }
    QRect target = qtRect(rect);
    painter.drawImage(target.topLeft(), image, QRect(0, 0, target.width(), target.height()));
}

}  // namespace

void drawRecords(QPainter& painter, const std::vector<nd::win32::DrawRecord>& records) {
    using nd::win32::DrawKind;
    for (const auto& r : records) {
        painter.save();
        switch (r.kind) {
            case DrawKind::RoundRect:
                painter.setPen(penFor(r.penColor));
                painter.setBrush(brushFor(r.brushColor));
                painter.drawRoundedRect(qtRect(r.rect), r.cornerWidth / 2.0, r.cornerHeight / 2.0);
                break;
            case DrawKind::Rectangle:
                painter.setPen(penFor(r.penColor));
                painter.setBrush(brushFor(r.brushColor));
                painter.drawRect(qtRect(r.rect).adjusted(0, 0, -1, -1));
                break;
            case DrawKind::FillRect:
                if (r.brushColor != CLR_NONE) {
                    painter.fillRect(qtRect(r.rect), qtColor(r.brushColor));
                }
                break;
            case DrawKind::FrameRect:
                painter.setPen(penFor(r.penColor));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(qtRect(r.rect).adjusted(0, 0, -1, -1));
                break;
            case DrawKind::Text:
                drawText(painter, r);
                break;
            case DrawKind::Bitmap:
                drawImage(painter, r.rect, bitmapImage(r.bitmap));
                break;
            case DrawKind::ImageListIcon:
                if (auto image = nd::win32::imageListImage(r.imageList, r.imageIndex)) {
                    drawImage(painter, r.rect, qtImage(*image));
                }
                break;
            case DrawKind::Icon:
                break;  // icons carry no pixels here
        }
        painter.restore();
    }
}

}  // namespace nd::qtview
