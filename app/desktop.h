#pragma once
// What the windows ask of the desktop: modal messages, sounds, pauses, the clock, the
// file dialog, the shell and the system's table of serial ports. Everything the window
// does to the operator outside its own controls goes through here, so that tests can put
// a recorder in its place; nothing else in app/ calls a message box.

#include <QString>
#include <QStringList>

class QWidget;

namespace zorvan::app {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The application's title: the title of every message box.
  void SetApplicationTitle(const QString& title) { title_ = title; }
  const QString& ApplicationTitle() const { return title_; }

  // A modal message without an icon, with one OK button, centred on the screen; returns
  // once the operator has closed it. Lines are joined with CR LF.
  virtual void ShowMessage(const QString& text) = 0;
  // The default exception display: the stop icon and one OK button. `text` is shown as
  // given (the caller applies the full-stop rule).
  virtual void ShowException(const QString& text) = 0;

  virtual void MessageBeep(unsigned type) = 0;
  // A tone of the given pitch and length; it may be silent but takes its time.
  virtual void Beep(unsigned frequency_hz, unsigned duration_ms) = 0;
  // A blocking pause: no window message is handled during it.
  virtual void Sleep(unsigned milliseconds) = 0;
  // The local time of day in the system's long time format.
  virtual QString TimeOfDay() const = 0;

  // The modal file-open dialog. Returns the chosen file's path, or an empty text when
  // the operator cancelled. `last_file` is the file chosen the time before, if any.
  virtual QString ChooseFileToOpen(QWidget* owner, const QString& filter,
                                   const QString& last_file) = 0;

  // Hands a web address to the desktop's default handler.
  virtual void OpenAddress(QWidget* owner, const QString& address) = 0;
  // Shows the system's view of its serial devices (the device manager console on
  // Windows, the port-list window elsewhere).
  virtual void OpenDeviceManager(QWidget* owner) = 0;

  // The names of the serial ports the system has registered, sorted; raises EComPort
  // when the system's table of ports is missing.
  virtual QStringList ListSerialPorts() = 0;

 private:
  QString title_;
};

}  // namespace zorvan::app
