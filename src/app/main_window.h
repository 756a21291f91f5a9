// The program's only top-level window: the menu from which every calculator, document and help
// file is reached (MAKEMENU), the status bar, and the keeping of its own geometry.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

class QLabel;
class QMenu;

namespace vestral::app {

// The least time between two geometry saves while the window moves, in milliseconds.
inline constexpr int kGeometrySaveInterval = 750;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // From now on moves and resizes save the geometry (not in the maximised cases).
    void setTracking(bool on) { tracking_ = on; }
    bool tracking() const { return tracking_; }
    // A geometry save that waits for the pause is made now (before the backup copy at close).
    void flushGeometry();
    bool geometryPending() const { return pending_; }

    // The status bar's text: `text`, or the main window's own text when it is empty.
    void showStatusText(const QString& text);
    QString statusText() const;

  signals:
    void closed();

  protected:
    bool event(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void makemenu();
    QAction* entry(QMenu* menu, const QString& label, const QString& status, std::function<void()> action);
    void calculator(QMenu* menu, const QString& label, const QString& status, const QString& operation);
    void document(QMenu* menu, const QString& label, const QString& status, const QString& path);
    void geometryChanged();
    void saveGeometryNow();

    QLabel* status_ = nullptr;
    QTimer throttle_;
    bool tracking_ = false;
    bool pending_ = false;
};

}  // namespace vestral::app
