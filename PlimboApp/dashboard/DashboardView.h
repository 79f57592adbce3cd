#pragma once

#include "AppSection.h"

#include <QWidget>

#include <functional>

class QListWidget;
class QSplitter;
class QToolButton;
class QVBoxLayout;

namespace plimbo {

class GlobalSurfaceFocusCoordinator;
class PresentedError;
class PresentedErrorAlert;
class WindowRouter;

// The dashboard window's content: a sidebar of the six sections beside the selected section's
// view, a "Command Palette" button, and the alert for the model's error message. The selected
// section is the window router's, so showDashboard(section) from anywhere chooses what shows
// here; each time a section is shown its view starts afresh from `makeSectionView`.
class DashboardView : public QWidget {
    Q_OBJECT

public:
    using SectionViewFactory = std::function<QWidget*(AppSection section, QWidget* parent)>;

    DashboardView(WindowRouter& windows, PresentedError& error,
                  GlobalSurfaceFocusCoordinator& focus, std::function<void()> openCommandPalette,
                  SectionViewFactory makeSectionView, QWidget* parent = nullptr);

    QListWidget* sidebar() const { return m_sidebar; }
    QSplitter* splitter() const { return m_splitter; }
    QToolButton* commandPaletteButton() const { return m_paletteButton; }
    PresentedErrorAlert* errorAlert() const { return m_alert; }
    // The view of the section shown now.
    QWidget* sectionView() const { return m_sectionView; }
    AppSection shownSection() const { return m_shownSection; }

    static QString title(AppSection section);
    static QString symbol(AppSection section);

    static constexpr int sidebarMinimumWidth = 180;
    static constexpr int sidebarIdealWidth = 210;

private:
    void showSelectedSection();

    WindowRouter& m_windows;
    SectionViewFactory m_makeSectionView;
    QSplitter* m_splitter;
    QListWidget* m_sidebar;
    QToolButton* m_paletteButton;
    QWidget* m_detail;
    QVBoxLayout* m_detailLayout;
    QWidget* m_sectionView = nullptr;
    AppSection m_shownSection = AppSection::overview;
    PresentedErrorAlert* m_alert;
};

} // namespace plimbo
