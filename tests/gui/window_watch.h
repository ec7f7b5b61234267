// Helpers for driving windows that run their own event loop: act on a window once it is shown, and
// serve events while a worker runs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

namespace vmk::gui::test {

// Runs `act` once on the first visible top-level window of type W, from a timer of the GUI thread, so a
// test can drive a window whose own loop blocks the test. When none appears within five seconds the test
// fails and every event loop is told to end, so the blocked call returns.
template <typename W>
void WhenShown(std::function<void(W&)> act) {
  auto* timer = new QTimer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act, deadline] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = dynamic_cast<W*>(widget);
      if (window == nullptr || !window->isVisible()) continue;
      timer->stop();
      timer->deleteLater();
      act(*window);
      return;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "the window did not appear";
      QCoreApplication::exit(1);
    }
  });
  timer->start(10);
}

// Serves events until the condition holds or five seconds have passed; false on the timeout.
inline bool ServeEventsUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QTest::qWait(5);
  }
  return true;
}

}  // namespace vmk::gui::test
