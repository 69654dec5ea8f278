// The serial port's event thread meeting the window's event loop.

#include "app/qt/qt_gui_thread.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "tests/support/qt/app_test_registry.h"
#include "serial/ecomport.h"

namespace zorvan::app {

namespace {

QtGuiThread::ErrorDisplay Recorder(QStringList& shown) {
  return [&shown](const std::exception& error) { shown << QString::fromStdString(error.what()); };
}

}  // namespace

class QtGuiThreadTest : public QObject {
  Q_OBJECT

 private slots:
  void RunsACallOfTheEventThreadInTheEventLoop() {
    QStringList shown;
    QtGuiThread gui(Recorder(shown));
    std::thread::id ran_on;
    std::atomic<bool> returned = false;
    std::thread event_thread([&] {
      gui.Synchronize([&] { ran_on = std::this_thread::get_id(); });
      returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 10000);
    event_thread.join();
    QCOMPARE(ran_on, std::this_thread::get_id());
  }

  void PassesTheCallsErrorBackToTheEventThread() {
    QStringList shown;
    QtGuiThread gui(Recorder(shown));
    std::string caught;
    std::atomic<bool> returned = false;
    std::thread event_thread([&] {
      try {
        gui.Synchronize([] { throw EComPort(com_text::kReadFailed); });
      } catch (const EComPort& error) {
        caught = error.Message();
      }
      returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 10000);
    event_thread.join();
    QCOMPARE(caught, std::string(com_text::kReadFailed));
    QVERIFY(shown.isEmpty());
  }

  // A long procedure on the GUI thread lets the calls through where it processes pending
  // messages, and nowhere else.
  void ServesCallsWhereARunningProcedureProcessesMessages() {
    QStringList shown;
    QtGuiThread gui(Recorder(shown));
    std::atomic<int> calls = 0;
    std::thread event_thread([&] {
      for (int i = 0; i < 20; ++i) gui.Synchronize([&] { ++calls; });
    });
    QDeadlineTimer limit(10000);
    while (calls < 20 && !limit.hasExpired()) QCoreApplication::processEvents();
    event_thread.join();
    QCOMPARE(calls.load(), 20);
  }

  // Closing a port waits for its event thread while serving it, and takes none of the
  // operator's input meanwhile.
  void ServesOnlyTheEventThreadWhileAPortCloses() {
    QStringList shown;
    QtGuiThread gui(Recorder(shown));
    bool operator_input_ran = false;
    QTimer::singleShot(0, [&] { operator_input_ran = true; });
    std::atomic<bool> ended = false;
    std::thread event_thread([&] {
      gui.Synchronize([] {});
      gui.Synchronize([] {});
      ended = true;
      gui.WakeServing();
    });
    gui.ServeUntil([&] { return ended.load(); });
    event_thread.join();
    QVERIFY(!operator_input_ran);
    QTRY_VERIFY(operator_input_ran);
  }

  // The sender goes on once the handler releases it; an error that ends the handler goes
  // to the application's display.
  void TakesNoticesInTheEventLoop() {
    QStringList shown;
    QtGuiThread gui(Recorder(shown));
    QList<uint32_t> codes;
    auto window = gui.CreateNoticeWindow([&](uint32_t code, const std::function<void()>& release_sender) {
      release_sender();
      codes << code;
      if (code == 128) throw EComPort(com_text::kReadFailed);
    });
    std::atomic<bool> sent = false;
    std::thread event_thread([&] {
      window->SendNotice(1);
      window->SendNotice(128);
      sent = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(sent, 10000);
    event_thread.join();
    QTRY_COMPARE(codes, (QList<uint32_t>{1, 128}));
    QCOMPARE(shown, QStringList{QString::fromUtf8(com_text::kReadFailed)});
  }
};

ZORVAN_APP_TEST(QtGuiThreadTest);

}  // namespace zorvan::app

#include "qt_gui_thread_test.moc"
