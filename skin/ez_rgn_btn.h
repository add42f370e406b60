// A borderless picture button: it shows one of four pictures by state, takes the size of
// the picture it shows, and may cut itself to the outline of its idle picture.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

class QTimer;

namespace skin {

enum TPaintMode { pmNormal = 0, pmCrop = 1, pmTransparent = 2 };

// Which of the four pictures a state shows, before the fall-backs for missing pictures.
enum class ButtonPicture { Idle, Up, Down, Disabled };

class TEzRgnBtn : public QWidget {
  Q_OBJECT

public:
  explicit TEzRgnBtn(QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  void setCaption(const QString& caption);

  // The button's own enabled flag. A button that is not enabled still follows the mouse but
  // shows its disabled picture and delivers no click. Disabling the widget itself (or its
  // window) does the same, without touching this flag, and the mouse is not followed then.
  bool isButtonEnabled() const { return enabled_; }
  void setButtonEnabled(bool enabled);
  // Enabled both ways: it shows its state's picture and delivers clicks.
  bool isUsable() const;

  // While held down over the button, the click repeats every 300 ms.
  bool autoRepeat() const { return autoRepeat_; }
  void setAutoRepeat(bool autoRepeat);

  const QImage& picIdle() const { return picIdle_; }
  const QImage& picUp() const { return picUp_; }
  const QImage& picDown() const { return picDown_; }
  const QImage& picDsbld() const { return picDsbld_; }
  void setPicIdle(const QImage& picture);
  void setPicUp(const QImage& picture);
  void setPicDown(const QImage& picture);
  void setPicDsbld(const QImage& picture);
  // Images 0 to 3, as far as there are, become the idle, up, down and disabled pictures.
  void setImageList(const QList<QImage>& images);

  TPaintMode paintMode() const { return paintMode_; }
  void setPaintMode(TPaintMode mode);

  bool isHovering() const { return hovering_; }
  bool isPressed() const { return pressed_; }
  bool isCropped() const { return cropped_; }
  bool isRepeating() const;

  // The picture the current state shows, after the fall-backs; may be null.
  const QImage& pictureForState() const;

  QSize sizeHint() const override;

signals:
  void clicked();
  void mouseDown(QMouseEvent* event);
  void mouseUp(QMouseEvent* event);
  void mouseEntered();
  void mouseLeft();

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Space, Enter and Return click the button; with the focus it shows the focus mark.
  void keyPressEvent(QKeyEvent* event) override;

private:
  void click();
  void setHovering(bool hovering);
  void stateChanged();
  void crop();
  void resetShape();
  void updateRepeatTimer();
  bool isOverButton(const QPoint& pos) const;

  QString caption_;
  bool enabled_ = true;
  bool autoRepeat_ = false;
  bool hovering_ = false;
  bool pressed_ = false;
  bool cropped_ = false;
  TPaintMode paintMode_ = pmNormal;
  QImage picIdle_, picUp_, picDown_, picDsbld_;
  QTimer* repeatTimer_;
};

// The picture a state shows, in the order of preference: down while pressed over the button,
// up while hovering, else idle, or disabled when the button is not enabled.
ButtonPicture ChoosePicture(bool enabled, bool hovering, bool pressed);

// Draws `picture` at (0, 0); in pmTransparent its key-colour pixels (the colour of its
// top-left pixel) are left undrawn. The caption is centred over the picture.
void PaintRegionButton(QPainter& painter, const QImage& picture, TPaintMode mode,
                       const QString& caption, const QFont& font, const QColor& textColor);

} // namespace skin
