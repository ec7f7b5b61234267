#include "gui/pictures.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

#include "gui/qt_text.h"

namespace vmk::gui {
namespace {

const QColor kDarkBlue(11, 48, 84);
const QColor kWhite(255, 255, 255);

// A fill that runs from a lighter shade at the top to the colour itself at the bottom.
QLinearGradient Shaded(const QColor& colour, qreal top, qreal bottom) {
  QLinearGradient gradient(0, top, 0, bottom);
  gradient.setColorAt(0, colour.lighter(150));
  gradient.setColorAt(1, colour);
  return gradient;
}

QPen Outline(const QColor& colour) {
  return QPen(colour.darker(160), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen WhiteStroke(qreal width) {
  return QPen(kWhite, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawSign(QPainter& painter, const QRectF& box, const QString& sign, int pixelSize) {
  QFont font;
  font.setBold(true);
  font.setPixelSize(pixelSize);
  painter.setFont(font);
  painter.setPen(kWhite);
  painter.drawText(box, Qt::AlignCenter, sign);
}

void DrawShield(QPainter& painter, const QColor& colour) {
  QPainterPath shield;
  shield.moveTo(50, 5);
  shield.quadTo(70, 16, 90, 16);
  shield.lineTo(90, 45);
  shield.cubicTo(90, 72, 72, 86, 50, 96);
  shield.cubicTo(28, 86, 10, 72, 10, 45);
  shield.lineTo(10, 16);
  shield.quadTo(30, 16, 50, 5);
  shield.closeSubpath();
  painter.setPen(Outline(colour));
  painter.setBrush(Shaded(colour, 5, 96));
  painter.drawPath(shield);
}

void DrawQuestionShield(QPainter& painter) {
  DrawShield(painter, QColor(30, 90, 200));
  DrawSign(painter, QRectF(10, 12, 80, 76), "?", 62);
}

void DrawCheckShield(QPainter& painter) {
  DrawShield(painter, QColor(20, 150, 60));
  painter.setPen(WhiteStroke(11));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF({QPointF(30, 50), QPointF(45, 66), QPointF(72, 34)}));
}

void DrawExclamationShield(QPainter& painter) {
  DrawShield(painter, QColor(225, 80, 20));
  painter.setPen(WhiteStroke(11));
  painter.drawLine(QPointF(50, 26), QPointF(50, 56));
  painter.setPen(Qt::NoPen);
  painter.setBrush(kWhite);
  painter.drawEllipse(QPointF(50, 74), 7, 7);
}

void DrawDisc(QPainter& painter, const QColor& colour) {
  QRadialGradient gradient(QPointF(38, 32), 70);
  gradient.setColorAt(0, colour.lighter(160));
  gradient.setColorAt(1, colour);
  painter.setPen(Outline(colour));
  painter.setBrush(gradient);
  painter.drawEllipse(QPointF(50, 50), 45, 45);
}

void DrawUpdateArrow(QPainter& painter) {
  DrawDisc(painter, QColor(20, 140, 70));
  painter.setPen(Qt::NoPen);
  painter.setBrush(kWhite);
  painter.drawRect(QRectF(40, 20, 20, 32));
  painter.drawPolygon(QPolygonF({QPointF(24, 50), QPointF(76, 50), QPointF(50, 80)}));
}

void DrawHelpBook(QPainter& painter) {
  const QColor cover(25, 75, 160);
  painter.setPen(Outline(QColor(200, 200, 190)));
  painter.setBrush(QColor(250, 248, 235));
  painter.drawRoundedRect(QRectF(24, 16, 62, 78), 4, 4);  // the pages, showing below and right of the cover
  painter.setPen(Outline(cover));
  painter.setBrush(Shaded(cover, 6, 86));
  painter.drawRoundedRect(QRectF(14, 6, 64, 80), 6, 6);
  painter.setPen(QPen(cover.darker(180), 4));
  painter.drawLine(QPointF(24, 8), QPointF(24, 84));  // the spine
  DrawSign(painter, QRectF(24, 8, 54, 76), "?", 56);
}

void DrawInformation(QPainter& painter) {
  DrawDisc(painter, QColor(30, 90, 200));
  painter.setPen(Qt::NoPen);
  painter.setBrush(kWhite);
  painter.drawEllipse(QPointF(50, 27), 8, 8);
  painter.drawRoundedRect(QRectF(42, 41, 16, 38), 4, 4);
}

void DrawEnvelope(QPainter& painter) {
  const QColor paper(248, 242, 222);
  painter.setPen(Outline(QColor(150, 120, 60)));
  painter.setBrush(Shaded(paper, 20, 80));
  painter.drawRect(QRectF(8, 22, 84, 56));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(QPointF(8, 78), QPointF(40, 50));
  painter.drawLine(QPointF(92, 78), QPointF(60, 50));
  painter.setBrush(paper.darker(110));
  painter.drawPolygon(QPolygonF({QPointF(8, 22), QPointF(50, 56), QPointF(92, 22)}));  // the flap
}

void DrawCloseButton(QPainter& painter, QSize size) {
  const QRectF face(1, 1, size.width() - 2, size.height() - 2);
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0, QColor(70, 120, 180));
  gradient.setColorAt(1, kDarkBlue);
  painter.setPen(QPen(kDarkBlue.darker(150), 2));
  painter.setBrush(gradient);
  painter.drawRoundedRect(face, size.height() / 5.0, size.height() / 5.0);
  DrawSign(painter, face, Caption(text::Ui::ButtonCloseHelp), std::max(8, size.height() * 9 / 20));
}

void DrawBackground(QPainter& painter, QSize size) {
  QLinearGradient gradient(0, 0, size.width(), size.height());
  gradient.setColorAt(0, kDarkBlue);
  gradient.setColorAt(0.6, QColor(38, 88, 132));
  gradient.setColorAt(1, QColor(112, 152, 192));
  painter.fillRect(QRect(QPoint(0, 0), size), gradient);
  // Two faint sweeping bands keep the large surface from looking flat.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 14));
  for (const qreal lift : {0.55, 0.72}) {
    QPainterPath band;
    const qreal w = size.width();
    const qreal h = size.height();
    band.moveTo(0, h * lift);
    band.cubicTo(w * 0.3, h * (lift - 0.25), w * 0.65, h * (lift + 0.2), w, h * (lift - 0.15));
    band.lineTo(w, h);
    band.lineTo(0, h);
    band.closeSubpath();
    painter.drawPath(band);
  }
}

// Draws an icon of the 100 × 100 grid scaled to the size asked for.
void OnGrid(QPainter& painter, QSize size, void (*draw)(QPainter&)) {
  painter.scale(size.width() / 100.0, size.height() / 100.0);
  draw(painter);
}

void Draw(QPainter& painter, Picture picture, QSize size) {
  switch (picture) {
    case Picture::ShieldStarting:
      return OnGrid(painter, size, DrawQuestionShield);
    case Picture::ShieldCurrent:
      return OnGrid(painter, size, DrawCheckShield);
    case Picture::ShieldNotCurrent:
      return OnGrid(painter, size, DrawExclamationShield);
    case Picture::UpdateAvailable:
      return OnGrid(painter, size, DrawUpdateArrow);
    case Picture::HelpFileButton:
      return OnGrid(painter, size, DrawHelpBook);
    case Picture::HelpWindowButton:
      return OnGrid(painter, size, DrawInformation);
    case Picture::SupportMessageButton:
      return OnGrid(painter, size, DrawEnvelope);
    case Picture::CloseHelpButton:
      return DrawCloseButton(painter, size);
    case Picture::Background:
      return DrawBackground(painter, size);
  }
}

}  // namespace

QPixmap DrawPicture(Picture picture, QSize size) {
  if (size.isEmpty()) return QPixmap();
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Draw(painter, picture, size);
  }
  return QPixmap::fromImage(image);
}

}  // namespace vmk::gui
