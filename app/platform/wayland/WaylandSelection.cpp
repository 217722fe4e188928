// The clipboard of a Wayland session, spoken directly on the compositor
// connection that Qt opened. A compositor takes a new selection only with the
// serial of a recent input event of the client, and Qt hands none to a client
// that never received a key press. So this server shows a tiny window, listens
// on a keyboard object of its own for the serial with which the window gets
// the focus, and offers the text with that serial.
#include "app/platform/WaylandSelection.h"

#include <qpa/qplatformnativeinterface.h>
#include <signal.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QRasterWindow>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cipher/SecureZero.h"
#include "fileio/Descriptors.h"

namespace app {

namespace waylandselection {

namespace {

constexpr int kTimeoutMilliseconds = 5000;

const char* const kTextTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING",
                                  "TEXT"};

// Everything this server asks of the compositor, on an event queue of its own
// so that Qt never dispatches these objects' events.
struct Connection {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_display* wrapper = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_data_device_manager* manager = nullptr;
    wl_data_device* device = nullptr;
    wl_data_source* source = nullptr;
    wl_data_offer* offer = nullptr;

    QByteArray text;
    uint32_t focusSerial = 0;
    bool focused = false;
    int selections = 0;  // selection announcements received so far
    bool cancelled = false;

    ~Connection() {
        if (offer) wl_data_offer_destroy(offer);
        if (source) wl_data_source_destroy(source);
        if (device) wl_data_device_destroy(device);
        if (manager) wl_data_device_manager_destroy(manager);
        if (keyboard) wl_keyboard_destroy(keyboard);
        if (seat) wl_seat_destroy(seat);
        if (registry) wl_registry_destroy(registry);
        if (wrapper) wl_proxy_wrapper_destroy(wrapper);
        if (display) wl_display_flush(display);
        if (queue) wl_event_queue_destroy(queue);
        cipher::SecureZero(text.data(), static_cast<std::size_t>(text.size()));
    }

    // Handles the events that Qt's reader has already taken off the socket.
    void DispatchPending() {
        wl_display_dispatch_queue_pending(display, queue);
        wl_display_flush(display);
    }
};

// --- keyboard: only the focus serial matters -------------------------------

void KeyboardKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) {
    ::close(fd);
}
void KeyboardEnter(void* data, wl_keyboard*, uint32_t serial, wl_surface*, wl_array*) {
    auto* connection = static_cast<Connection*>(data);
    connection->focusSerial = serial;
    connection->focused = true;
}
void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void KeyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void KeyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void KeyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener kKeyboardListener = {KeyboardKeymap, KeyboardEnter,     KeyboardLeave,
                                                KeyboardKey,    KeyboardModifiers, KeyboardRepeat};

// --- data source: hands the text to whoever pastes -------------------------

void SourceTarget(void*, wl_data_source*, const char*) {}
void SourceSend(void* data, wl_data_source*, const char*, int32_t fd) {
    const QByteArray& text = static_cast<Connection*>(data)->text;
    [[maybe_unused]] std::error_code ec =
        fileio::WriteAll(fd, text.constData(), static_cast<std::size_t>(text.size()));
    ::close(fd);
}
void SourceCancelled(void* data, wl_data_source*) {
    static_cast<Connection*>(data)->cancelled = true;
}
void SourceDropPerformed(void*, wl_data_source*) {}
void SourceFinished(void*, wl_data_source*) {}
void SourceAction(void*, wl_data_source*, uint32_t) {}
const wl_data_source_listener kSourceListener = {
    SourceTarget, SourceSend, SourceCancelled, SourceDropPerformed, SourceFinished, SourceAction};

// --- data device: counts the compositor's selection announcements ----------

void DeviceDataOffer(void*, wl_data_device*, wl_data_offer*) {}
void DeviceEnter(void*, wl_data_device*, uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t,
                 wl_data_offer* offer) {
    if (offer) wl_data_offer_destroy(offer);
}
void DeviceLeave(void*, wl_data_device*) {}
void DeviceMotion(void*, wl_data_device*, uint32_t, wl_fixed_t, wl_fixed_t) {}
void DeviceDrop(void*, wl_data_device*) {}
void DeviceSelection(void* data, wl_data_device*, wl_data_offer* offer) {
    auto* connection = static_cast<Connection*>(data);
    if (connection->offer) wl_data_offer_destroy(connection->offer);
    connection->offer = offer;
    ++connection->selections;
}
const wl_data_device_listener kDeviceListener = {DeviceDataOffer, DeviceEnter, DeviceLeave,
                                                 DeviceMotion,    DeviceDrop,  DeviceSelection};

// --- registry ---------------------------------------------------------------

void RegistryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    auto* connection = static_cast<Connection*>(data);
    if (!connection->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        connection->seat = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 4u)));
    } else if (!connection->manager &&
               std::strcmp(interface, wl_data_device_manager_interface.name) == 0) {
        connection->manager = static_cast<wl_data_device_manager*>(wl_registry_bind(
            registry, name, &wl_data_device_manager_interface, std::min(version, 3u)));
    }
}
void RegistryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {RegistryGlobal, RegistryGlobalRemove};

// --- steps ------------------------------------------------------------------

// Runs Qt's event loop, dispatching this server's queue as well, until done()
// holds; false when the time ran out first.
template <typename Condition>
bool RunUntil(Connection& connection, Condition done, int timeoutMilliseconds) {
    const QDeadlineTimer deadline(timeoutMilliseconds);
    for (connection.DispatchPending(); !done(); connection.DispatchPending()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// Waits until the compositor has answered every request sent so far, so that
// each event it sent before that has been dispatched.
bool Sync(Connection& connection) {
    bool done = false;
    static const wl_callback_listener listener = {[](void* data, wl_callback* callback, uint32_t) {
        *static_cast<bool*>(data) = true;
        wl_callback_destroy(callback);
    }};
    wl_callback* callback = wl_display_sync(connection.wrapper);
    wl_callback_add_listener(callback, &listener, &done);
    const bool answered = RunUntil(
        connection, [&done] { return done; }, kTimeoutMilliseconds);
    if (!answered) {
        // The listener must not write to this stack frame later.
        wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(callback), nullptr);
        wl_callback_destroy(callback);
    }
    return answered;
}

bool Open(Connection& connection) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native) return false;
    connection.display = static_cast<wl_display*>(
        native->nativeResourceForIntegration(QByteArrayLiteral("display")));
    if (!connection.display) return false;
    connection.queue = wl_display_create_queue(connection.display);
    connection.wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(connection.display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(connection.wrapper), connection.queue);
    connection.registry = wl_display_get_registry(connection.wrapper);
    wl_registry_add_listener(connection.registry, &kRegistryListener, &connection);
    if (!Sync(connection) || !connection.seat || !connection.manager) return false;
    connection.keyboard = wl_seat_get_keyboard(connection.seat);
    wl_keyboard_add_listener(connection.keyboard, &kKeyboardListener, &connection);
    connection.device = wl_data_device_manager_get_data_device(connection.manager, connection.seat);
    wl_data_device_add_listener(connection.device, &kDeviceListener, &connection);
    return Sync(connection);
}

// Offers the text with the focus serial; true when the compositor announced
// the new selection.
bool Offer(Connection& connection) {
    connection.source = wl_data_device_manager_create_data_source(connection.manager);
    wl_data_source_add_listener(connection.source, &kSourceListener, &connection);
    for (const char* type : kTextTypes) wl_data_source_offer(connection.source, type);
    const int before = connection.selections;
    wl_data_device_set_selection(connection.device, connection.source, connection.focusSerial);
    return Sync(connection) && connection.selections > before && !connection.cancelled;
}

bool TakeSelection(Connection& connection) {
    if (!Open(connection)) return false;
    QRasterWindow window;
    window.setFlags(Qt::FramelessWindowHint);
    window.setTitle(QStringLiteral("Quillbox"));
    window.resize(1, 1);
    window.show();
    const bool focused = RunUntil(
        connection, [&connection] { return connection.focused; }, kTimeoutMilliseconds);
    // Whatever the compositor sent along with the focus comes before the offer.
    const bool taken = focused && Sync(connection) && Offer(connection);
    window.close();
    return taken;
}

}  // namespace

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

int Serve(const QString& text, void (*ready)()) {
    Connection connection;
    connection.text = text.toUtf8();
    // A reader that goes away early must not end this server.
    ::signal(SIGPIPE, SIG_IGN);
    if (!TakeSelection(connection)) return 1;
    if (ready) ready();

    // Qt's reader thread takes events off the socket and wakes this thread;
    // ours are dispatched whenever the event loop is about to wait again.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     qApp, [&connection] {
                         connection.DispatchPending();
                         if (connection.cancelled) qApp->quit();
                     });
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, qApp, [&connection] {
        connection.DispatchPending();
        if (connection.cancelled) qApp->quit();
    });
    heartbeat.start(1000);
    QGuiApplication::exec();
    return 0;
}

}  // namespace waylandselection

}  // namespace app
