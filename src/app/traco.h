#pragma once

#include <QMainWindow>

namespace app {

// The main window. Its set-up ends by raising the ready flag that the start-up form waits for.
class Traco : public QMainWindow
{
    Q_OBJECT
public:
    explicit Traco(QWidget* parent = nullptr);

    bool pronto() const { return m_pronto; }
    // Brings the window to the front, restored when it was minimised (a second copy of the program asked for it).
    void trazParaFrente();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_pronto = false;
};

} // namespace app
