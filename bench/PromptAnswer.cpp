// Preloaded (LD_PRELOAD) into the real quillbox program by scripts/bench.sh,
// so that the benchmark can drive the window program's command line without
// a screen or a person: every password prompt is answered with the text of
// QUILLBOX_BENCH_ANSWER, every question with No (so "Wipe original?" keeps
// the source, and the encryption is measured alone), and every other
// message box is written to standard error and closed.

#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>

#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

using Exec = int (*)(QDialog*);

Exec Original() {
    void* found = ::dlvsym(RTLD_NEXT, "_ZN7QDialog4execEv", "Qt_6");
    if (found == nullptr) found = ::dlsym(RTLD_NEXT, "_ZN7QDialog4execEv");
    return reinterpret_cast<Exec>(found);
}

int AnswerBox(const QMessageBox& box) {
    if (box.button(QMessageBox::No) != nullptr) return QMessageBox::No;
    std::fprintf(stderr, "quillbox: %s\n", box.text().toUtf8().constData());
    return QMessageBox::Ok;
}

}  // namespace

int QDialog::exec() {
    static const Exec original = Original();
    if (const auto* box = qobject_cast<QMessageBox*>(this)) return AnswerBox(*box);
    QLineEdit* text = findChild<QLineEdit*>(QStringLiteral("Text1"));
    QPushButton* ok = findChild<QPushButton*>(QStringLiteral("Command1"));
    const char* answer = std::getenv("QUILLBOX_BENCH_ANSWER");
    if (text != nullptr && ok != nullptr && answer != nullptr) {
        // Answered as soon as the prompt runs its own loop, as a person would.
        QTimer::singleShot(0, ok, [text, ok, answer] {
            text->setText(QString::fromUtf8(answer));
            ok->click();
        });
    }
    return original(this);
}
