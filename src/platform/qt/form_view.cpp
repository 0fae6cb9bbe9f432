#include "platform/qt/form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "platform/app.h"
#include "platform/qt/image_access.h"
#include "platform/qt/plot_widget.h"

namespace quorvel::platform {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString textForWidget(const std::string& text) {
  // Multi-line texts are held with CR LF; the widgets want LF.
  QString result = qs(text);
  result.replace("\r\n", "\n");
  return result;
}

}  // namespace

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(&box) {
  auto* refresh = new QTimer(this);
  connect(refresh, &QTimer::timeout, this, [this] {
    if (box_ && box_->picture().revision() != shown_) update();
  });
  refresh->start(40);
}

void PictureWidget::paintEvent(QPaintEvent*) {
  if (!box_) return;
  QPainter painter(this);
  painter.drawImage(0, 0, imageOf(box_->picture()));
  shown_ = box_->picture().revision();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (!box_) return;
  const Picture& picture = box_->picture();
  const MouseButton button =
      event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
  const QPointF at = event->position();
  box_->form().mouseDown(*box_, button, picture.toUserX(at.x()), picture.toUserY(at.y()));
}

bool saveFormPicture(Form& form, const std::string& path) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  FormListener* previous = form.listener();
  bool saved = false;
  {
    FormView view(form);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    QApplication::processEvents();
    saved = view.grab().save(QString::fromStdString(path));
  }
  form.setListener(previous);
  return saved;
}

FormView::FormView(Form& form) : form_(&form) {
  setObjectName(qs(form.name()));
  setWindowTitle(qs(form.caption()));
  setFixedSize(form.width(), form.height());
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Containers first, so that their contents can be placed inside them.
  for (Control* control : form.controls()) {
    if (control->container().empty()) widgets_[control] = makeWidget(*control, this);
  }
  for (int pass = 0; pass < 4; ++pass) {
    for (Control* control : form.controls()) {
      if (widgets_.count(control)) continue;
      Control* container = form.find(control->container());
      auto parent = container ? widgets_.find(container) : widgets_.end();
      if (parent == widgets_.end()) continue;
      widgets_[control] = makeWidget(*control, qobject_cast<QWidget*>(parent->second));
    }
  }
  for (Control* control : form.controls()) {
    if (!widgets_.count(control)) widgets_[control] = makeWidget(*control, this);
    sync(*control);
  }
  form.setListener(this);
}

FormView::~FormView() {
  if (form_) form_->setListener(nullptr);
}

void FormView::detach() {
  if (form_) form_->setListener(nullptr);
  form_ = nullptr;
  for (auto& [control, object] : widgets_) {
    if (auto* picture = qobject_cast<PictureWidget*>(object)) picture->detach();
    if (auto* plot = qobject_cast<PlotWidget*>(object)) plot->detach();
    if (auto* timer = qobject_cast<QTimer*>(object)) timer->stop();
  }
  widgets_.clear();
  hide();
  deleteLater();
}

QObject* FormView::makeWidget(Control& control, QWidget* parent) {
  QObject* object = nullptr;
  Control* target = &control;
  switch (control.kind()) {
    case ControlKind::TextBox: {
      auto& box = static_cast<TextBox&>(control);
      if (box.multiLine()) {
        auto* edit = new QPlainTextEdit(parent);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, target, edit] {
          if (syncing_ || !form_) return;
          QString text = edit->toPlainText();
          text.replace("\n", "\r\n");
          form_->typeText(static_cast<TextBox&>(*target), text.toStdString());
        });
        object = edit;
      } else {
        auto* edit = new QLineEdit(parent);
        connect(edit, &QLineEdit::textEdited, this, [this, target](const QString& text) {
          if (syncing_ || !form_) return;
          form_->typeText(static_cast<TextBox&>(*target), text.toStdString());
        });
        object = edit;
      }
      break;
    }
    case ControlKind::Label:
      object = new QLabel(parent);
      break;
    case ControlKind::Frame:
      object = new QGroupBox(parent);
      break;
    case ControlKind::CommandButton: {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this, [this, target] {
        if (form_) form_->click(*target);
      });
      object = button;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(parent);
      connect(box, &QCheckBox::clicked, this, [this, target] {
        if (!form_) return;
        Form* form = form_;
        form->click(*target);
        if (form_) sync(*target);
      });
      object = box;
      break;
    }
    case ControlKind::OptionButton: {
      auto* option = new QRadioButton(parent);
      option->setAutoExclusive(false);
      connect(option, &QRadioButton::clicked, this, [this, target] {
        if (!form_) return;
        form_->click(*target);
        if (form_) sync(*target);
      });
      object = option;
      break;
    }
    case ControlKind::PictureBox:
      object = new PictureWidget(static_cast<PictureBox&>(control), parent);
      break;
    case ControlKind::Plot:
      object = new PlotWidget(static_cast<Plot&>(control), parent);
      break;
    case ControlKind::Timer: {
      auto* timer = new QTimer(this);
      connect(timer, &QTimer::timeout, this, [this, target] {
        if (form_) form_->tick(static_cast<Timer&>(*target));
      });
      object = timer;
      break;
    }
    case ControlKind::HScrollBar:
    case ControlKind::VScrollBar: {
      auto* bar = new QScrollBar(
          control.kind() == ControlKind::HScrollBar ? Qt::Horizontal : Qt::Vertical, parent);
      connect(bar, &QScrollBar::valueChanged, this, [this, target](int value) {
        if (syncing_ || !form_) return;
        form_->scrollTo(static_cast<ScrollBar&>(*target), value);
      });
      object = bar;
      break;
    }
  }
  object->setObjectName(qs(control.name()));
  if (auto* widget = qobject_cast<QWidget*>(object); widget && !control.menu().empty()) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
            [this, target, widget](const QPoint& at) {
              if (!form_) return;
              QMenu menu(widget);
              const auto& items = target->menu();
              for (std::size_t i = 0; i < items.size(); ++i) {
                menu.addAction(qs(items[i].caption))->setData(static_cast<qulonglong>(i));
              }
              QAction* chosen = menu.exec(widget->mapToGlobal(at));
              if (chosen && form_) form_->chooseMenuItem(*target, chosen->data().toULongLong());
            });
  }
  return object;
}

void FormView::controlChanged(Control& control) {
  if (form_) sync(control);
}

void FormView::captionChanged() {
  if (form_) setWindowTitle(qs(form_->caption()));
}

void FormView::sync(Control& control) {
  auto found = widgets_.find(&control);
  if (found == widgets_.end()) return;
  syncing_ = true;
  QObject* object = found->second;
  if (auto* timer = qobject_cast<QTimer*>(object)) {
    const auto& model = static_cast<const Timer&>(control);
    if (model.timerEnabled() && model.interval() > 0) {
      timer->start(model.interval());
    } else {
      timer->stop();
    }
    syncing_ = false;
    return;
  }
  auto* widget = qobject_cast<QWidget*>(object);
  const Geometry& g = control.geometry();
  widget->setGeometry(g.left, g.top, g.width, g.height);
  widget->setVisible(control.visible());
  widget->setEnabled(control.enabled());
  widget->setToolTip(qs(control.toolTip()));
  switch (control.kind()) {
    case ControlKind::TextBox: {
      const auto& box = static_cast<const TextBox&>(control);
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text().toStdString() != box.text()) {
          // A text the program writes is shown from its beginning; the user's own typing
          // never comes here, so the caret stays where the user left it.
          edit->setText(qs(box.text()));
          edit->setCursorPosition(0);
        }
        edit->setReadOnly(box.readOnly());
      } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        const QString text = textForWidget(box.text());
        if (plain->toPlainText() != text) plain->setPlainText(text);
        plain->setReadOnly(box.readOnly());
      }
      const Rgb back = resolve(box.backColor());
      widget->setStyleSheet(QString("background-color: rgb(%1,%2,%3);")
                                .arg(back.r)
                                .arg(back.g)
                                .arg(back.b));
      break;
    }
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(qs(static_cast<const Label&>(control).caption()));
      break;
    case ControlKind::Frame:
      static_cast<QGroupBox*>(widget)->setTitle(qs(static_cast<const Frame&>(control).caption()));
      break;
    case ControlKind::CommandButton:
      static_cast<QPushButton*>(widget)->setText(
          qs(static_cast<const CommandButton&>(control).caption()));
      break;
    case ControlKind::CheckBox: {
      const auto& box = static_cast<const CheckBox&>(control);
      auto* check = static_cast<QCheckBox*>(widget);
      check->setText(qs(box.caption()));
      check->setChecked(box.ticked());
      break;
    }
    case ControlKind::OptionButton: {
      const auto& option = static_cast<const OptionButton&>(control);
      auto* radio = static_cast<QRadioButton*>(widget);
      radio->setText(qs(option.caption()));
      radio->setChecked(option.value());
      break;
    }
    case ControlKind::PictureBox:
      widget->update();
      break;
    case ControlKind::Plot:
      static_cast<PlotWidget*>(widget)->refresh();
      break;
    case ControlKind::HScrollBar:
    case ControlKind::VScrollBar: {
      const auto& model = static_cast<const ScrollBar&>(control);
      auto* bar = static_cast<QScrollBar*>(widget);
      bar->setRange(model.min(), model.max());
      bar->setSingleStep(model.smallChange());
      bar->setPageStep(model.largeChange());
      bar->setValue(model.value());
      break;
    }
    case ControlKind::Timer:
      break;
  }
  syncing_ = false;
}

void FormView::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (form_) form_->app().windows().requestClose(form_->name());
}

void FormView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && form_) {
    form_->app().windows().activate(form_->name());
  }
}

}  // namespace quorvel::platform
