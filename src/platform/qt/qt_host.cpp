#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>
#include <algorithm>

namespace quorvel::platform {

namespace {
QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

bool QtHost::messageBox(std::string_view text, Buttons buttons, std::string_view title) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(qs(title));
  box.setText(qs(text));
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  return box.exec() == QMessageBox::Yes && buttons == Buttons::YesNo;
}

std::string qtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    if (pattern.trimmed() == "*.*") pattern = "*";
    QString description = parts[i];
    const qsizetype paren = description.indexOf('(');
    if (paren >= 0) description = description.left(paren).trimmed();
    entries << description + " (" + pattern + ")";
  }
  return entries.join(";;").toStdString();
}

std::optional<std::string> QtHost::openFileDialog(const FileDialogRequest& request) {
  const QString path = QFileDialog::getOpenFileName(
      QApplication::activeWindow(), qs(request.title), qs(request.fileName),
      QString::fromStdString(qtFilter(request.filter)));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtHost::saveFileDialog(const FileDialogRequest& request) {
  QString selected;
  QString path = QFileDialog::getSaveFileName(
      QApplication::activeWindow(), qs(request.title), qs(request.fileName),
      QString::fromStdString(qtFilter(request.filter)), &selected);
  if (path.isEmpty()) return std::nullopt;
  if (QFileInfo(path).suffix().isEmpty()) {
    // "PNG (*.png)" gives ".png".
    static const QRegularExpression pattern("\\*(\\.[A-Za-z0-9]+)");
    const QRegularExpressionMatch match = pattern.match(selected);
    if (match.hasMatch()) path += match.captured(1);
  }
  return path.toStdString();
}

int QtHost::doEvents() {
  // Driven by the clock: the loops leap, so a call may stand for any number of steps, and
  // the window must hear its buttons every 15 ms however the calls fall.
  const auto now = std::chrono::steady_clock::now();
  if (now - lastEvents_ >= std::chrono::milliseconds(15)) {
    lastEvents_ = now;
    QApplication::processEvents();
  }
  return openWindowCount();
}

void QtHost::waitUntil(std::chrono::steady_clock::time_point until,
                       const std::function<bool()>& interrupted) {
  using std::chrono::milliseconds;
  // The event loop runs in slices of at most 20 ms, so a stop is heard within one.
  for (;;) {
    if (interrupted && interrupted()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return;
    const auto slice = std::min(milliseconds(20),
                                std::chrono::ceil<milliseconds>(until - now));
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(slice.count()), &loop, &QEventLoop::quit);
    loop.exec();
    lastEvents_ = std::chrono::steady_clock::now();
  }
}

}  // namespace quorvel::platform
