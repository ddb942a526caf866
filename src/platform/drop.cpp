// File drop on chosen gadgets. A gadget that accepts drops gets a drop
// target: an event filter on its input widget holding (format, actions)
// pairs. Every other widget keeps Qt's default and refuses drops.

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QObject>
#include <QUrl>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/event_queue.h"
#include "platform/gadget_registry.h"
#include "platform/gadgets.h"
#include "platform/teardown.h"
#include "platform/window.h"

namespace {

// Qt's drop actions have the values of the effects: copy 1, move 2, link 4.
constexpr int KnownEffects = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// The dropped local files, in the order the source gave them, as the bytes
// the file system knows them by; other URLs are left out.
std::vector<QByteArray> localFiles(const QMimeData& data) {
    std::vector<QByteArray> files;
    if (!data.hasUrls()) {
        return files;
    }
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files.push_back(QFile::encodeName(url.toLocalFile()));
        }
    }
    return files;
}

std::string joinedByLineFeeds(const std::vector<QByteArray>& files) {
    std::string joined;
    for (const QByteArray& file : files) {
        if (!joined.empty()) {
            joined += '\n';
        }
        joined.append(file.constData(), static_cast<std::size_t>(file.size()));
    }
    return joined;
}

// One effect out of those allowed: copy before move before link.
Qt::DropAction chosenEffect(int allowed) {
    for (const Qt::DropAction effect : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction}) {
        if ((allowed & effect) != 0) {
            return effect;
        }
    }
    return Qt::IgnoreAction;
}

class DropTarget final : public QObject {
  public:
    DropTarget(int gadget, int window, QWidget* widget)
        : QObject(widget), gadget_(gadget), window_(window) {
        widget->installEventFilter(this);
        widget->setAcceptDrops(true);
    }

    // Actions 0 remove the format. Returns whether any format is left.
    bool setFormat(int format, int actions) {
        std::erase_if(formats_, [format](const Format& f) { return f.format == format; });
        if (actions != 0) {
            formats_.push_back({format, actions});
        }
        return !formats_.empty();
    }

    // Turns the widget back into one that refuses drops; deletes this target.
    void remove() {
        if (auto* widget = qobject_cast<QWidget*>(parent())) {
            widget->setAcceptDrops(false);
            widget->removeEventFilter(this);
        }
        delete this;
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
                enter(*static_cast<QDragEnterEvent*>(event));
                return true;
            case QEvent::DragMove:
                grant(*static_cast<QDragMoveEvent*>(event));
                return true;
            case QEvent::Drop:
                drop(*static_cast<QDropEvent*>(event));
                return true;
            default:
                return false;
        }
    }

  private:
    struct Format {
        int format;
        int actions;
    };

    // Finds the format this drag can supply, the most recently enabled first.
    void enter(QDragEnterEvent& event) {
        current_ = Format{0, 0};
        for (auto it = formats_.rbegin(); it != formats_.rend(); ++it) {
            if ((it->actions & event.possibleActions() & KnownEffects) != 0 &&
                canSupply(it->format, *event.mimeData())) {
                current_ = *it;
                break;
            }
        }
        grant(event);
    }

    static bool canSupply(int format, const QMimeData& data) {
        return format == DropFormatFiles && !localFiles(data).empty();
    }

    // The granted effect; the drag is refused when there is none.
    void grant(QDragMoveEvent& event) const {
        const Qt::DropAction effect = chosenEffect(current_.actions & event.possibleActions());
        if (effect == Qt::IgnoreAction) {
            event.ignore();
            return;
        }
        event.setDropAction(effect);
        event.accept();
    }

    void drop(QDropEvent& event) const {
        const Qt::DropAction effect = chosenEffect(current_.actions & event.possibleActions());
        if (effect == Qt::IgnoreAction || current_.format == 0) {
            event.ignore();
            return;
        }
        event.setDropAction(effect);
        event.accept();
        DropRecord record;
        record.format = current_.format;
        record.effect = effect;
        record.x = event.position().toPoint().x();
        record.y = event.position().toPoint().y();
        record.files = joinedByLineFeeds(localFiles(*event.mimeData()));
        PlatformEvent delivered;
        delivered.code = GadgetDropEvent;
        delivered.object = gadget_;
        delivered.window = window_;
        delivered.drop = std::move(record);
        queueEvent(std::move(delivered), Collapse::Never);
    }

    int gadget_;
    int window_;
    std::vector<Format> formats_;
    Format current_{0, 0};  // the format of the drag in progress, 0 if refused
};

DropTarget* dropTargetOf(QWidget& widget) {
    return widget.findChild<DropTarget*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

void acceptDropOnGadget(int gadget, int format, int actions) {
    const Gadget* record = findGadget(gadget);
    QWidget* widget = record == nullptr ? nullptr : record->inputWidget();
    if (widget == nullptr || format == 0) {
        return;
    }
    DropTarget* target = dropTargetOf(*widget);
    if (target == nullptr) {
        if (actions == 0) {
            return;
        }
        target = new DropTarget(gadget, record->window(), widget);
    }
    if (!target->setFormat(format, actions)) {
        target->remove();
    }
}

std::string droppedFiles() {
    const std::optional<DropRecord>& drop = currentEvent().drop;
    if (!drop || drop->format != DropFormatFiles) {
        return {};
    }
    return drop->files;
}

void shutdownDropSupport() {
    forEachGadget([](Gadget& gadget) {
        QWidget* widget = gadget.inputWidget();
        if (DropTarget* target = widget == nullptr ? nullptr : dropTargetOf(*widget)) {
            target->remove();
        }
    });
}
