// The picture surface that covers a borderless window: it shows the window's artwork
// unscaled at its top-left corner and moves the window when the artwork is dragged.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <optional>

namespace skin {

class TCoolForm : public QWidget {
  Q_OBJECT

public:
  // Fills `parent`'s whole client area; a top-level parent loses its frame.
  explicit TCoolForm(QWidget* parent);

  const QImage& picture() const { return picture_; }
  // Shows `picture` and forgets the stored shape; the window's outline stays as it is.
  void setPicture(const QImage& picture);
  // Loads a picture file; false, with the picture unchanged, when it cannot be read.
  bool loadPicture(const QString& fileName);

  // The stored shape (Mask): a region, or none.
  const std::optional<QRegion>& storedShape() const { return storedShape_; }

  // Reads a Mask2 block: a byte count and RGNDATA. A region read from it becomes the stored
  // shape and the window's outline; a count of 0, or a block that does not hold what it
  // announces, leaves no stored shape and the outline untouched.
  void readMask2(QByteArrayView block);
  // The stored shape as a Mask2 block; a count of 0 when there is none.
  QByteArray mask2() const;

signals:
  // The left button went down on the artwork and the window system was asked to move the
  // window.
  void windowMoveStarted();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QImage picture_;
  std::optional<QRegion> storedShape_;
  // Where the window system cannot move the window itself, the surface moves it: the
  // pointer's offset from the window's corner while the left button is held.
  std::optional<QPoint> dragOffset_;
};

// Draws the artwork as the surface shows it: unscaled at (0, 0).
void PaintCoolForm(QPainter& painter, const QImage& picture);

} // namespace skin
