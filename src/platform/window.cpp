// Windows as QMainWindows: a menu bar on top, a client widget below it that
// holds the gadgets, shortcuts as QShortcuts, and the blocking event wait.

#include "platform/window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeySequence>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/event_queue.h"
#include "platform/qt_access.h"
#include "platform/teardown.h"
#include "platform/window_internal.h"

namespace {

// Event numbers of the two shortcuts every window starts with. They move the
// keyboard focus and never reach the program.
constexpr int FocusNextEvent = 64001;
constexpr int FocusPreviousEvent = 64002;

// A chord is a shortcut code reduced to what identifies it: the 16-bit key
// code and the three modifier bits.
constexpr std::uint32_t ChordMask = 0xFFFF | ShortcutShift | ShortcutControl | ShortcutAlt;
constexpr std::uint32_t VirtualKeyTab = 0x09;

// Menu item ids and shortcut event numbers are 16-bit values.
int sixteenBits(int number) {
    return number & 0xFFFF;
}

// A window-level event: no type, no data.
PlatformEvent windowEvent(int code, int object, int window) {
    PlatformEvent event;
    event.code = code;
    event.object = object;
    event.window = window;
    return event;
}

// The top-level widget of an open window. A close request (close button,
// window menu, Alt+F4) is turned into an event and the window stays open.
class ServiceWindow : public QMainWindow {
  public:
    explicit ServiceWindow(int number) : number_(number) {}

    void moveFocus(bool forward) { focusNextPrevChild(forward); }

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        queueEvent(windowEvent(CloseWindowEvent, number_, number_));
    }

  private:
    int number_;
};

struct ShortcutEntry {
    std::uint32_t chord;
    int eventNumber;
    // Owned by the window. Null for the starting Tab entries, whose focus
    // movement Qt's own focus chain performs, and for keys Qt cannot name.
    QShortcut* native;
};

struct OpenWindow {
    std::unique_ptr<ServiceWindow> widget;
    QWidget* client;  // child of widget: the area below the menu bar
    std::vector<ShortcutEntry> shortcuts;
};

std::map<int, OpenWindow> windows;
int gadgetParentNumber = -1;  // the window opened last

// Where addMenuTitle, addMenuItem and addMenuSeparator put their entries.
QPointer<QMenuBar> currentBar;
int currentBarWindow = -1;
QPointer<QMenu> currentMenu;

OpenWindow* findWindow(int number) {
    const auto it = windows.find(number);
    return it == windows.end() ? nullptr : &it->second;
}

std::pair<int, OpenWindow*> findWindowByHandle(NativeWindow handle) {
    for (auto& [number, record] : windows) {
        if (static_cast<NativeWindow>(record.widget->winId()) == handle) {
            return {number, &record};
        }
    }
    return {-1, nullptr};
}

Qt::WindowFlags windowHintsOf(std::uint32_t flags) {
    // CustomizeWindowHint: only the decorations asked for, so no minimise or
    // maximise button. Resizing is governed by the size constraints instead.
    Qt::WindowFlags hints = Qt::Window | Qt::CustomizeWindowHint;
    if ((flags & WindowTitleBar) == WindowTitleBar) {
        hints |= Qt::WindowTitleHint;
    }
    if ((flags & WindowSystemMenu) != 0) {
        hints |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    return hints;
}

// Labels are shown as given: "&" would otherwise start a mnemonic.
QString menuText(const std::string& label) {
    return QString::fromLocal8Bit(label).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The menu bar changed: lay the window out at once, so the client area is
// below the bar's new height before the caller places anything in it.
void relayout(QMenuBar* bar) {
    if (QWidget* window = bar->window(); window->layout() != nullptr) {
        window->layout()->activate();
    }
}

// Virtual-key codes that are not the Qt key of the same value.
struct KeyName {
    std::uint16_t virtualKey;
    Qt::Key key;
};
constexpr std::array<KeyName, 27> namedKeys{{
    {0x08, Qt::Key_Backspace},   {0x09, Qt::Key_Tab},       {0x0D, Qt::Key_Return},
    {0x1B, Qt::Key_Escape},      {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp},
    {0x22, Qt::Key_PageDown},    {0x23, Qt::Key_End},       {0x24, Qt::Key_Home},
    {0x25, Qt::Key_Left},        {0x26, Qt::Key_Up},        {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},        {0x2D, Qt::Key_Insert},    {0x2E, Qt::Key_Delete},
    {0x13, Qt::Key_Pause},       {0x2C, Qt::Key_Print},     {0xBA, Qt::Key_Semicolon},
    {0xBB, Qt::Key_Equal},       {0xBC, Qt::Key_Comma},     {0xBD, Qt::Key_Minus},
    {0xBE, Qt::Key_Period},      {0xBF, Qt::Key_Slash},     {0xC0, Qt::Key_QuoteLeft},
    {0xDB, Qt::Key_BracketLeft}, {0xDC, Qt::Key_Backslash}, {0xDD, Qt::Key_BracketRight},
}};

std::optional<Qt::Key> qtKeyOf(std::uint32_t virtualKey) {
    const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
    const bool digit = virtualKey >= '0' && virtualKey <= '9';
    if (letter || digit) {
        return static_cast<Qt::Key>(virtualKey);  // Qt uses the same codes
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return static_cast<Qt::Key>(Qt::Key_F1 + (virtualKey - 0x70));
    }
    for (const KeyName& named : namedKeys) {
        if (named.virtualKey == virtualKey) {
            return named.key;
        }
    }
    return std::nullopt;
}

std::optional<QKeySequence> keySequenceOf(std::uint32_t chord) {
    const std::uint32_t virtualKey = chord & 0xFFFF;
    std::optional<Qt::Key> key = qtKeyOf(virtualKey);
    if (!key) {
        return std::nullopt;
    }
    Qt::KeyboardModifiers modifiers;
    if ((chord & ShortcutShift) != 0) {
        modifiers |= Qt::ShiftModifier;
        if (virtualKey == VirtualKeyTab) {
            key = Qt::Key_Backtab;  // what Qt delivers for Shift+Tab
        }
    }
    if ((chord & ShortcutControl) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((chord & ShortcutAlt) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, *key));
}

ShortcutEntry* findShortcut(OpenWindow& record, std::uint32_t chord) {
    const auto it = std::ranges::find(record.shortcuts, chord, &ShortcutEntry::chord);
    return it == record.shortcuts.end() ? nullptr : &*it;
}

// A bound chord was pressed: the entry's current event number decides, so a
// rebinding takes effect without touching the native shortcut.
void activateShortcut(int window, std::uint32_t chord) {
    OpenWindow* record = findWindow(window);
    const ShortcutEntry* entry = record ? findShortcut(*record, chord) : nullptr;
    if (entry == nullptr) {
        return;
    }
    if (entry->eventNumber == FocusNextEvent || entry->eventNumber == FocusPreviousEvent) {
        record->widget->moveFocus(entry->eventNumber == FocusNextEvent);
        return;
    }
    queueEvent(windowEvent(MenuEvent, sixteenBits(entry->eventNumber), window), Collapse::Never);
}

QShortcut* makeNativeShortcut(int window, std::uint32_t chord, QWidget* widget) {
    const std::optional<QKeySequence> sequence = keySequenceOf(chord);
    if (!sequence) {
        return nullptr;
    }
    auto* shortcut = new QShortcut(*sequence, widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, widget,
                     [window, chord] { activateShortcut(window, chord); });
    return shortcut;
}

std::vector<ShortcutEntry> startingShortcuts() {
    return {{VirtualKeyTab, FocusNextEvent, nullptr},
            {VirtualKeyTab | ShortcutShift, FocusPreviousEvent, nullptr}};
}

}  // namespace

int openWindow(int number, int x, int y, int width, int height, const std::string& title,
               std::uint32_t flags) {
    if (QApplication::instance() == nullptr || number < 0 || findWindow(number) != nullptr) {
        return 0;
    }
    auto widget = std::make_unique<ServiceWindow>(number);
    widget->setWindowFlags(windowHintsOf(flags));
    widget->setWindowTitle(QString::fromLocal8Bit(title));
    widget->setWindowIcon(QIcon(QStringLiteral(":/scrfix/scrfix.png")));
    auto* client = new QWidget;
    widget->setCentralWidget(client);
    // move() places the outer corner; resize() sets the size inside the frame,
    // which is the client area as long as there is no menu bar.
    widget->move(x, y);
    widget->resize(std::max(width, 1), std::max(height, 1));
    if ((flags & WindowSizable) == 0) {
        widget->setFixedSize(widget->size());
    }
    widget->show();
    widget->raise();
    widget->activateWindow();
    if (widget->winId() == 0) {
        return 0;
    }
    windows.emplace(number, OpenWindow{std::move(widget), client, startingShortcuts()});
    gadgetParentNumber = number;
    return 1;
}

NativeWindow nativeWindowHandle(int number) {
    const OpenWindow* record = findWindow(number);
    return record ? static_cast<NativeWindow>(record->widget->winId()) : 0;
}

// The menu number only names the bar; a window has at most one, and a second
// bar replaces the first.
int createMenuBar(int /*menuNumber*/, NativeWindow window) {
    const auto [number, record] = findWindowByHandle(window);
    if (record == nullptr) {
        return 0;
    }
    auto* bar = new QMenuBar;
    bar->setNativeMenuBar(false);  // keep the bar inside the window, above the client area
    record->widget->setMenuBar(bar);
    currentBar = bar;
    currentBarWindow = number;
    currentMenu = nullptr;
    relayout(bar);
    return 1;
}

void addMenuTitle(const std::string& title) {
    if (currentBar.isNull()) {
        return;
    }
    currentMenu = currentBar->addMenu(menuText(title));
    relayout(currentBar);
}

void addMenuItem(int itemId, const std::string& label) {
    if (currentMenu.isNull()) {
        return;
    }
    // QMenu shows the text after a TAB right-aligned in the shortcut column.
    QAction* action = currentMenu->addAction(menuText(label));
    QObject::connect(action, &QAction::triggered, action,
                     [window = currentBarWindow, item = sixteenBits(itemId)] {
                         queueEvent(windowEvent(MenuEvent, item, window), Collapse::Never);
                     });
}

void addMenuSeparator() {
    if (!currentMenu.isNull()) {
        currentMenu->addSeparator();
    }
}

void bindShortcut(int window, std::uint32_t shortcut, int eventNumber) {
    OpenWindow* record = findWindow(window);
    if (record == nullptr) {
        return;
    }
    const std::uint32_t chord = shortcut & ChordMask;
    ShortcutEntry* entry = findShortcut(*record, chord);
    if (entry == nullptr) {
        entry = &record->shortcuts.emplace_back(ShortcutEntry{chord, eventNumber, nullptr});
    }
    entry->eventNumber = eventNumber;
    if (entry->native == nullptr) {
        entry->native = makeNativeShortcut(window, chord, record->widget.get());
    }
}

// Empty text counts as no text and leaves the title as it is.
void setWindowTitle(int window, const std::string& text) {
    OpenWindow* record = findWindow(window);
    if (record != nullptr && !text.empty()) {
        record->widget->setWindowTitle(QString::fromLocal8Bit(text));
    }
}

// Native activity that raises no event is handled inside the wait and never
// returned; without an application there is nothing to wait for and 0 comes back.
int waitEvent() {
    clearCurrentEvent();
    while (eventQueueEmpty()) {
        if (QCoreApplication::instance() == nullptr) {
            return 0;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return takeNextEvent();
}

int eventMenuItem() {
    return currentEvent().object;
}

int eventGadgetNumber() {
    return currentEvent().object;
}

int eventType() {
    return currentEvent().type;
}

QWidget* gadgetParent() {
    const OpenWindow* record = findWindow(gadgetParentNumber);
    return record ? record->client : nullptr;
}

int gadgetParentWindow() {
    return findWindow(gadgetParentNumber) ? gadgetParentNumber : -1;
}

QMainWindow* windowWidget(int window) {
    const OpenWindow* record = findWindow(window);
    return record ? record->widget.get() : nullptr;
}

void shutdownWindows() {
    shutdownGadgets();
    for (const auto& [number, record] : windows) {
        discardQueuedEventsOfWindow(number);
    }
    windows.clear();
    gadgetParentNumber = -1;
    currentBarWindow = -1;
}
