#include "ui/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QWindow>
#include <limits>

#include "app/AppInfo.h"
#include "app/platform/QtPlatform.h"
#include "ui/FileDropLineEdit.h"
#include "ui/PathCompleter.h"

namespace {

QWidget* WidgetOf(const QWindow* window) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window) return widget;
    }
    return nullptr;
}

void Unlimit(QLineEdit* field) {
    field->setMaxLength(std::numeric_limits<int>::max());
}

// What assistive technology announces for a control: the fields have no
// labels, and both panels have an "Encrypt" and a "Decrypt" button.
void Describe(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

}  // namespace

Form1::Form1(app::Platform* platform)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      ownPlatform_(platform == nullptr ? std::make_unique<app::QtPlatform>() : nullptr),
      platform_(platform == nullptr ? ownPlatform_->Services() : *platform),
      actions_(platform_.messages),
      frontEnd_(platform_, *this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(app::kApplicationTitle);
    // The tables were drawn for a smaller font than most desktops use: they
    // grow with the window's font, so that every caption fits.
    layout_ = app::TwipsLayout::For(*this);
    setFixedSize(layout_.ToPixels(core::layout::form1::kClientArea).size());
    BuildFilePanel();
    BuildStringPanel();
    SetTabOrder();
}

Form1::~Form1() = default;

QLineEdit* Form1::Text1() const {
    return text1_;
}

void Form1::Place(QWidget* control, QWidget* container, const char* name,
                  const core::TwipsRect& place) {
    control->setParent(container);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(layout_.ToPixels(place));
}

QGroupBox* Form1::AddFrame(const char* name, const QString& caption, const core::TwipsRect& place) {
    auto* frame = new QGroupBox(caption);
    Place(frame, this, name, place);
    return frame;
}

QPushButton* Form1::AddButton(QWidget* container, const char* name, const QString& caption,
                              const core::TwipsRect& place, std::function<void()> action) {
    auto* button = new QPushButton(caption);
    Place(button, container, name, place);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, action = std::move(action)] { actions_.Run(action); });
    return button;
}

void Form1::BuildFilePanel() {
    frame1_ = AddFrame("Frame1", tr("File (binary encryption)"), core::layout::form1::kFrame1);
    Describe(frame1_, tr("File (binary encryption)"),
             tr("Encrypt or decrypt a whole file into another file"));
    text1_ = new ui::FileDropLineEdit;
    Place(text1_, frame1_, "Text1", core::layout::form1::kText1);
    Describe(text1_, tr("Source file"),
             tr("Path of the file to encrypt or decrypt; a file can also be dropped here"));
    connect(text1_, &ui::FileDropLineEdit::filesDropped, this,
            [this](const QStringList& files) { actions_.Run([&] { Text1_OLEDragDrop(files); }); });
    text2_ = new QLineEdit;
    Place(text2_, frame1_, "Text2", core::layout::form1::kText2);
    Describe(text2_, tr("Destination file"), tr("Path of the file that receives the result"));
    text2_->setAcceptDrops(false);
    Describe(AddButton(frame1_, "BrowseF", tr("&Browse"), core::layout::form1::kBrowseF,
                       [this] { BrowseF_Click(); }),
             tr("Browse for the source file"),
             tr("Choose the source file; the destination is named after it"));
    Describe(AddButton(frame1_, "EncFile", tr("&Encrypt"), core::layout::form1::kEncFile,
                       [this] { EncFile_Click(); }),
             tr("Encrypt file"), tr("Encrypt the source file into the destination file"));
    Describe(AddButton(frame1_, "DecFile", tr("&Decrypt"), core::layout::form1::kDecFile,
                       [this] { DecFile_Click(); }),
             tr("Decrypt file"), tr("Decrypt the source file into the destination file"));
    Describe(AddButton(frame1_, "mSwap", tr("&Swap"), core::layout::form1::kSwap,
                       [this] { mSwap_Click(); }),
             tr("Swap source and destination"),
             tr("Exchange the paths of the source and destination files"));
    Describe(AddButton(this, "mAbout", tr("About"), core::layout::form1::kAbout,
                       [this] { mAbout_Click(); }),
             tr("About Quillbox"),
             tr("Show the version and how to use Quillbox from the command line"));
}

void Form1::BuildStringPanel() {
    frame2_ = AddFrame("Frame2", tr("String (ASCII encryption)"), core::layout::form1::kFrame2);
    Describe(frame2_, tr("String (ASCII encryption)"),
             tr("Encrypt a line of text into Base64 text, or decrypt it back"));
    Describe(AddButton(frame2_, "mPaste", tr("P&aste"), core::layout::form1::kPaste,
                       [this] { mPaste_Click(); }),
             tr("Paste from clipboard"),
             tr("Replace the text to encrypt or decrypt with the text on the clipboard"));
    text3_ = new QLineEdit;
    Place(text3_, frame2_, "Text3", core::layout::form1::kText3);
    Describe(text3_, tr("Text to encrypt or decrypt"),
             tr("Plain text to encrypt, or Base64 text to decrypt"));
    Describe(AddButton(frame2_, "EncStr", tr("E&ncrypt"), core::layout::form1::kEncStr,
                       [this] { EncStr_Click(); }),
             tr("Encrypt text"), tr("Encrypt the text into Base64 text shown as the result"));
    text4_ = new QLineEdit;
    Place(text4_, frame2_, "Text4", core::layout::form1::kText4);
    Describe(text4_, tr("Result"), tr("The result of the last text encryption or decryption"));
    Describe(AddButton(frame2_, "DecStr", tr("Dec&rypt"), core::layout::form1::kDecStr,
                       [this] { DecStr_Click(); }),
             tr("Decrypt text"),
             tr("Decrypt the Base64 text into the plain text shown as the result"));
    Describe(AddButton(frame2_, "Copy2Clip", tr("&Copy to clipboard"),
                       core::layout::form1::kCopy2Clip, [this] { Copy2Clip_Click(); }),
             tr("Copy result to clipboard"), tr("Put the result on the clipboard as plain text"));
    for (QLineEdit* field : {static_cast<QLineEdit*>(text1_), text2_, text3_, text4_}) {
        Unlimit(field);
    }
    text3_->setAcceptDrops(false);
    text4_->setAcceptDrops(false);
}

void Form1::SetTabOrder() {
    // The frames (tab indexes 0 and 1) take no focus; the rest follow their index.
    const char* const order[] = {"Text1",     "Text2",  "BrowseF", "EncFile", "DecFile",
                                 "Text3",     "Text4",  "EncStr",  "DecStr",  "mSwap",
                                 "Copy2Clip", "mPaste", "mAbout"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        auto* next = findChild<QWidget*>(QString::fromLatin1(name));
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

void Form1::Form_Load(const QString& argumentText) {
    if (text1_->completer() == nullptr) text1_->setCompleter(new ui::PathCompleter(text1_));
    for (QLineEdit* field : {static_cast<QLineEdit*>(text1_), text2_, text3_, text4_}) {
        field->clear();
    }
    commandLine_ = argumentText;
}

void Form1::closeEvent(QCloseEvent* event) {
    // The title bar still offers Close while an action runs (even with the
    // window disabled). The action and any question that follows it need the
    // window, so the request is turned down; once it is over, Close works.
    if (actions_.Running()) {
        event->ignore();
        return;
    }
    Form_Unload();
    QWidget::closeEvent(event);
}

void Form1::Form_Unload() {
    // Every other window of the program, the most recently opened first.
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* widget = WidgetOf(*it);
        if (widget != nullptr && widget != this && widget->isVisible()) widget->close();
    }
}
