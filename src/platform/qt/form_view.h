#pragma once

#include <QWidget>
#include <map>

#include "platform/form.h"

class QTimer;

namespace quorvel::platform {

// Shows any form as a Qt window: one widget per control, with objectName equal to the
// control's name, bound both ways; what the user does goes to the form's entry points.
class FormView : public QWidget, public FormListener {
  Q_OBJECT

 public:
  explicit FormView(Form& form);
  ~FormView() override;

  // The form is going away: the view stops talking to it and deletes itself later.
  void detach();
  Form* form() const { return form_; }

  void controlChanged(Control& control) override;
  void captionChanged() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QObject* makeWidget(Control& control, QWidget* parent);
  void sync(Control& control);

  Form* form_;
  std::map<const Control*, QObject*> widgets_;
  bool syncing_ = false;
};

// Renders the form as its desktop window shows it, off screen, and saves the picture (.png or
// .bmp by the extension). Needs a QApplication; a view already showing the form keeps
// showing it. False when the picture cannot be made or written.
bool saveFormPicture(Form& form, const std::string& path);

// The widget of a picture box: paints the picture and reports mouse presses in its user
// coordinates. It repaints when the picture's revision changed.
class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  PictureWidget(PictureBox& box, QWidget* parent);
  void detach() { box_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  PictureBox* box_;
  std::uint64_t shown_ = 0;
};

}  // namespace quorvel::platform
