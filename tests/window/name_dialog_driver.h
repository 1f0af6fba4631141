#pragma once
// Answers the real name dialog as a person would: waits for it to open, notes how it looks,
// types into its box and confirms, or cancels it.

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QtTest>

namespace card::testing {

class NameDialogDriver final : public QObject {
 public:
  enum class Answer { kTypeAndReturn, kCancelButton, kEscape };
  struct Step {
    Answer answer;
    QString text;  // typed before Return
  };
  // How the dialog looked when it opened, and what its box held once the answer was typed.
  struct Sight {
    QString box_on_opening;
    QString label;
    QRect frame;
    bool modal = false;
    QString box_when_confirmed;
  };

  NameDialogDriver(QList<Step> steps, int deadline_ms)
      : steps_(std::move(steps)), deadline_ms_(deadline_ms) {
    // Every opening counts, also when the program shows the same dialog object again.
    qApp->installEventFilter(this);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    since_.start();
    timer_.start(5);
  }
  ~NameDialogDriver() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* dialog = qobject_cast<QInputDialog*>(watched)) opened_ = dialog;
    }
    return false;
  }

  const QList<Sight>& sights() const { return sights_; }
  // Anything that went wrong while answering; empty when every step was taken as planned.
  const QStringList& problems() const { return problems_; }

 private:
  void Poll() {
    if (since_.elapsed() > deadline_ms_) {
      problems_ << QStringLiteral("the deadline passed with the dialog open %1 times")
                       .arg(sights_.size());
      timer_.stop();
      if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) open->reject();
      return;
    }
    QInputDialog* dialog = opened_;
    if (dialog == nullptr || !dialog->isVisible()) return;
    opened_ = nullptr;
    if (QApplication::activeModalWidget() != dialog) {
      problems_ << QStringLiteral("the dialog is not the active modal window");
    }

    auto* box = dialog->findChild<QLineEdit*>();
    auto* label = dialog->findChild<QLabel*>();
    if (box == nullptr || label == nullptr) {
      problems_ << QStringLiteral("the dialog has no text box or no label");
      dialog->reject();
      return;
    }
    Sight sight;
    sight.box_on_opening = box->text();
    sight.label = label->text();
    sight.frame = dialog->frameGeometry();
    sight.modal = dialog->isModal();
    if (sights_.size() >= steps_.size()) {
      problems_ << QStringLiteral("the dialog opened more often than expected");
      sights_.append(sight);
      dialog->reject();
      return;
    }
    const Step step = steps_.at(sights_.size());
    switch (step.answer) {
      case Answer::kTypeAndReturn:
        for (const QChar c : step.text) {
          if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
          } else {
            // Qt Test cannot type a character outside ASCII with keyClick.
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
          }
        }
        sight.box_when_confirmed = box->text();
        sights_.append(sight);
        QTest::keyClick(box, Qt::Key_Return);
        break;
      case Answer::kCancelButton: {
        sights_.append(sight);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QPushButton* cancel =
            buttons != nullptr ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
        if (cancel == nullptr) {
          problems_ << QStringLiteral("the dialog has no Cancel button");
          dialog->reject();
          return;
        }
        QTest::mouseClick(cancel, Qt::LeftButton);
        break;
      }
      case Answer::kEscape:
        sights_.append(sight);
        QTest::keyClick(box, Qt::Key_Escape);
        break;
    }
    if (dialog->isVisible()) {
      problems_ << QStringLiteral("the dialog stayed open after answer %1").arg(sights_.size());
      dialog->reject();
    }
  }

  QList<Step> steps_;
  qint64 deadline_ms_;
  QList<Sight> sights_;
  QStringList problems_;
  QPointer<QInputDialog> opened_;  // shown and not yet answered
  QElapsedTimer since_;
  QTimer timer_;
};

}  // namespace card::testing
