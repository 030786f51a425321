#include "platform/qt/QtBackend.h"

#include "platform/qt/ControlView.h"
#include "platform/qt/DialogObserver.h"
#include "platform/qt/DialogView.h"
#include "platform/qt/DrawingOverlay.h"
#include "platform/qt/InputRouter.h"
#include "platform/qt/ModalBoxes.h"
#include "platform/qt/Text.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/TrayWatcher.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/Shell.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <thread>

QtBackend::QtBackend()
    : m_dispatcher(QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())) {
    // The program ends when its main dialog does, never because Qt saw its last window close.
    QApplication::setQuitOnLastWindowClosed(false);
    m_waitLimit.setSingleShot(true);
    m_waitLimit.setTimerType(Qt::PreciseTimer);
    m_input = std::make_unique<InputRouter>([this](const QWindow* window) -> DialogView* {
        for (const auto& view : m_views) {
            if (view->windowHandle() == window)
                return view.get();
        }
        return nullptr;
    });
    QCoreApplication::instance()->installEventFilter(m_input.get());
    SetCurrentBackend(this);
}

QtBackend::~QtBackend() {
    if (CurrentBackend() == this)
        SetCurrentBackend(nullptr);
    m_trays.clear();
    m_trayWatcher.reset();
    m_timers.clear();
    m_views.clear();
    QCoreApplication::instance()->removeEventFilter(m_input.get());
}

void QtBackend::DeliverInput(const MSG& msg) {
    m_input->Deliver(msg);
}

void QtBackend::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Objects Qt deletes "later" wait for an event loop's return; no Qt loop ever returns here,
    // and no Qt code is on the stack when the program asks for events, so this is that moment.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtBackend::WaitForEvents(std::uint32_t maxMilliseconds) {
    if (maxMilliseconds == 0) {
        ProcessEvents();
        return;
    }
    // A message posted after the caller last looked at the queue has called Wake(), which makes
    // this wait return at once: the dispatcher keeps the wake-up until its next wait.
    m_waitLimit.start(static_cast<int>(std::min<std::uint32_t>(maxMilliseconds, 0x7FFFFFFF)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    m_waitLimit.stop();
}

void QtBackend::Wake() {
    if (m_dispatcher)
        m_dispatcher->wakeUp();
}

std::uint32_t QtBackend::TickCount() {
    // Milliseconds of the monotonic clock, which counts from the system's start, wrapping at 32
    // bits as the Windows tick count does.
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void QtBackend::SetTimer(HWND window, UINT id, UINT milliseconds) {
    auto& timer = m_timers[{window, id}];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, &m_context,
                         [window, id] { MarkTimerDue(window, id); });
    }
    timer->start(static_cast<int>(std::max<UINT>(milliseconds, 1)));
}

void QtBackend::KillTimer(HWND window, UINT id) {
    m_timers.erase({window, id});
}

DialogView* QtBackend::ViewOf(const CDialog& dialog) const {
    for (const auto& view : m_views) {
        if (&view->Dialog() == &dialog)
            return view.get();
    }
    return nullptr;
}

DialogView* QtBackend::ViewOf(HWND window) const {
    for (const auto& view : m_views) {
        if (view->Dialog().GetSafeHwnd() == window)
            return view.get();
    }
    return nullptr;
}

TrayIcon* QtBackend::TrayOf(HWND window, UINT id) const {
    auto it = m_trays.find({window, id});
    return it == m_trays.end() ? nullptr : it->second.get();
}

HWND QtBackend::MainWindowAlone(int templateId) const {
    if (QApplication::activeModalWidget())
        return 0;
    const DialogView* main = nullptr;
    for (const auto& view : m_views) {
        if (!main && view->Dialog().Template().id == templateId)
            main = view.get();
        else if (view->isVisible())
            return 0;
    }
    return main ? main->Dialog().GetSafeHwnd() : 0;
}

DialogView* QtBackend::OwnerFor(const DialogView* view) const {
    for (const auto& candidate : m_views) {
        if (candidate.get() == view)
            continue;
        if (candidate->Dialog().Template().exStyle & WS_EX_APPWINDOW)
            return candidate->isVisible() && !candidate->isMinimized() ? candidate.get() : nullptr;
    }
    return nullptr;
}

DialogView* QtBackend::VisibleView(HWND window) const {
    DialogView* view = ViewOf(window);
    return view && view->isVisible() && !view->isMinimized() ? view : nullptr;
}

void QtBackend::CreateDialogView(CDialog& dialog) {
    if (ViewOf(dialog))
        return;
    m_views.push_back(std::make_unique<DialogView>(dialog));
}

void QtBackend::DestroyDialogView(CDialog& dialog) {
    // A destroyed window's timers go with it, as on Windows.
    HWND window = dialog.GetSafeHwnd();
    std::erase_if(m_timers, [window](const auto& entry) { return entry.first.first == window; });
    std::erase_if(m_views, [&dialog](const auto& view) { return &view->Dialog() == &dialog; });
    if (m_observer)
        m_observer->DialogDestroyed(dialog);
}

void QtBackend::ShowDialog(CDialog& dialog, int command) {
    if (DialogView* view = ViewOf(dialog))
        view->Show(command, OwnerFor(view));
}

void QtBackend::CenterDialog(CDialog& dialog) {
    if (DialogView* view = ViewOf(dialog))
        view->CenterOver(OwnerFor(view));
}

void QtBackend::FocusDialog(CDialog& dialog) {
    if (DialogView* view = ViewOf(dialog))
        view->Activate();
}

void QtBackend::FocusControl(CDialog& dialog, CControl& control, bool selectText) {
    if (DialogView* view = ViewOf(dialog))
        view->FocusControl(control, selectText);
}

void QtBackend::DialogChanged(CDialog& dialog) {
    // The system menu is built from the dialog each time it opens; caption and icon show now.
    if (DialogView* view = ViewOf(dialog))
        view->ShowCaptionAndIcon();
}

void QtBackend::ControlChanged(CDialog& dialog, CControl& control, ControlChange change, int row) {
    if (DialogView* view = ViewOf(dialog))
        view->ControlChanged(control, change, row);
    // Of a list's row notices only those of the focused row (the current song) can change what
    // the window shows the observer: a search's 300,000 others made it read the window each time,
    // which cost the search a third of its time.
    bool rowNotice = change == ControlChange::RowInserted || change == ControlChange::RowChanged;
    if (m_observer &&
        (!rowNotice || (control.Kind() == ControlKind::ListView &&
                        static_cast<const CListCtrl&>(control).GetNextItem(row - 1, LVNI_FOCUSED) == row)))
        m_observer->ControlChanged(dialog, control);
}

bool QtBackend::TextFits(CDialog& dialog, CControl& control, const std::string& text) {
    DialogView* view = ViewOf(dialog);
    ControlView* controlView = view ? view->ViewOf(control) : nullptr;
    if (!controlView)
        return true;
    QWidget& widget = controlView->Widget();
    QString shown = ToQString(text);
    if (!(control.Style() & SS_NOPREFIX))
        shown = WithoutPrefix(shown);
    return widget.fontMetrics().horizontalAdvance(shown) <= widget.contentsRect().width();
}

int QtBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    return RunMessageBox(VisibleView(owner), text, caption, style);
}

void QtBackend::MessageBeep(UINT) {
    QApplication::beep();
}

std::optional<std::string> QtBackend::BrowseForFolder(HWND owner, const std::string& title) {
    return RunFolderChooser(VisibleView(owner), title);
}

std::optional<std::string> QtBackend::BrowseForFile(HWND owner, const std::string& title,
                                                    const std::vector<FileFilter>& filters,
                                                    const std::string& folder) {
    return RunFileChooser(VisibleView(owner), title, filters, folder);
}

bool QtBackend::TrayAdd(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip) {
    if (!m_trayWatcher)
        m_trayWatcher = std::make_unique<TrayWatcher>([this](bool present) { TrayPresenceChanged(present); });
    if (!m_trayWatcher->TrayPresent() || m_trays.count({window, id}))
        return false;
    m_trays[{window, id}] = std::make_unique<TrayIcon>(window, id, callbackMessage, iconId, tip);
    return true;
}

bool QtBackend::TrayModify(HWND window, UINT id, UINT flags, UINT callbackMessage, int iconId,
                           const std::string& tip) {
    TrayIcon* tray = TrayOf(window, id);
    if (!tray)
        return false;
    if (flags & NIF_MESSAGE)
        tray->SetCallbackMessage(callbackMessage);
    if (flags & NIF_ICON)
        tray->SetIcon(iconId);
    if (flags & NIF_TIP)
        tray->SetTip(tip);
    return true;
}

bool QtBackend::TrayDelete(HWND window, UINT id) {
    return m_trays.erase({window, id}) != 0;
}

void QtBackend::TrayPresenceChanged(bool present) {
    if (!present)
        m_trays.clear();
    for (const auto& view : m_views) {
        if (view->Dialog().Template().exStyle & WS_EX_APPWINDOW)
            view->Dialog().PostMessage(present ? WM_TASKBARCREATED : WM_TASKBARGONE);
    }
}

int QtBackend::ClientWidth(CDialog& dialog) {
    DialogView* view = ViewOf(dialog);
    return view ? view->width() : 0;
}

int QtBackend::ClientHeight(CDialog& dialog) {
    DialogView* view = ViewOf(dialog);
    return view ? view->height() : 0;
}

void QtBackend::SetClientSize(CDialog& dialog, int width, int height) {
    DialogView* view = ViewOf(dialog);
    if (!view)
        return;
    // No larger than the screen (a size kept from a larger one), no smaller than the template; a
    // fixed window's minimum is its maximum, so it keeps its size.
    QSize size(width, height);
    if (const QScreen* screen = view->screen())
        size = size.boundedTo(screen->availableSize());
    view->resize(size.expandedTo(view->minimumSize()).boundedTo(view->maximumSize()));
}

CMemoryDC QtBackend::CopyFromDialog(CDialog& dialog, int x, int y, int width, int height) {
    DialogView* view = ViewOf(dialog);
    if (!view || width <= 0 || height <= 0)
        return CMemoryDC();
    // The dialog as it shows now, controls and all, as a read from its device context gives it:
    // one pixel of the bitmap for each of the program's, whatever the screen's scale.
    QImage picture = view->grab(QRect(x, y, width, height)).toImage();
    if (picture.size() != QSize(width, height))
        picture = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    CMemoryDC copy(width, height, view->palette().color(QPalette::Window).rgba());
    copy.BitBlt(0, 0, width, height, FromQImage(picture), 0, 0);
    return copy;
}

DrawingOverlay* QtBackend::OverlayOf(CDialog& dialog) {
    DialogView* view = ViewOf(dialog);
    if (!view)
        return nullptr;
    // The view owns the layer; the pointer clears itself when the view goes first.
    QPointer<DrawingOverlay>& overlay = m_overlays[dialog.GetSafeHwnd()];
    if (!overlay)
        overlay = new DrawingOverlay(*view);
    return overlay;
}

void QtBackend::BltToDialog(CDialog& dialog, int x, int y, int width, int height, const CMemoryDC& source,
                            int sourceX, int sourceY) {
    if (DrawingOverlay* overlay = OverlayOf(dialog))
        overlay->Blt(x, y, width, height, source, sourceX, sourceY);
}

void QtBackend::DrawIconOnDialog(CDialog& dialog, int x, int y, int iconId) {
    if (DrawingOverlay* overlay = OverlayOf(dialog))
        overlay->DrawIcon(x, y, iconId);
}

void QtBackend::EndDialogDrawing(CDialog& dialog) {
    auto it = m_overlays.find(dialog.GetSafeHwnd());
    if (it == m_overlays.end())
        return;
    delete it->second.data();
    m_overlays.erase(it);
}

bool QtBackend::IsKeyDown(int virtualKey) {
    // The keyboard's state now, asked of the window system, not the state of the last event read.
    Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    switch (virtualKey) {
    case VK_CONTROL:
        return modifiers.testFlag(Qt::ControlModifier);
    case VK_SHIFT:
        return modifiers.testFlag(Qt::ShiftModifier);
    default:
        return false;
    }
}

void QtBackend::Block(std::uint32_t milliseconds) {
    // Sleeping holds the thread as a busy wait would, without taking a core from the synthesiser.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
