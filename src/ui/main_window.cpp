#include "ui/main_window.h"

#include "ui/screen_fit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>
#include <map>
#include <utility>

namespace korvel {

namespace {

QGroupBox* group(const QString& title, QLayout* layout) {
    auto* box = new QGroupBox(title);
    box->setObjectName(title);
    // Narrow margins and rows: the window fits a small screen at large fonts without scrolling.
    layout->setContentsMargins(6, 4, 6, 4);
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->setVerticalSpacing(3);
    else if (auto* column = qobject_cast<QVBoxLayout*>(layout))
        column->setSpacing(4);
    box->setLayout(layout);
    return box;
}

// Buttons as narrow as their short captions, so that the transport row fits beside the files.
QPushButton* narrow(QPushButton* button) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(" >> ") + 16);
    return button;
}

// Scroll bars as long as five of their width, so that their handle shows between the arrows.
QScrollBar* tall(QScrollBar* bar) {
    int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    if (bar->orientation() == Qt::Vertical)
        bar->setMinimumHeight(5 * extent);
    else
        bar->setMinimumWidth(5 * extent);
    return bar;
}

// A thin upright line between controls that belong apart.
QFrame* separator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Lamps keep their place while out, so that the row does not jump at every tick.
QWidget* lamp(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    return widget;
}

} // namespace

MainWindow::MainWindow(MainForm& form)
    : form_(form), binding_([this] { refresh(); }), fileMenu_(this) {
    // The size the settings keep, before laying out the controls resizes the window.
    savedSize_ = QSize(form_.s.windowWidth, form_.s.windowHeight);
    setObjectName("MainForm");
    setWindowTitle("Korvel");
    setAcceptDrops(true);

    // The files and the message list take the width the other controls leave; manual mode
    // puts its position controls where the file list was.
    auto* left = new QVBoxLayout;
    left->addWidget(fileBrowser(), 1);
    manual_ = manualEntry();
    left->addWidget(manual_);
    auto* right = new QVBoxLayout;
    right->addWidget(transport());
    right->addWidget(sentencesAndOutput());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);
    // The altitude figures beside the altitude profile, the exit below the profile: no row of
    // its own, so that the window fits a small screen at large fonts.
    auto* profile = new QVBoxLayout;
    profile->addWidget(binding_.picture(form_.c.DIA), 1);
    profile->addWidget(binding_.button(form_.c.ENDE));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(instruments(), 1);
    bottom->addLayout(profile, 2);

    content_ = new QWidget;
    auto* rows = new QVBoxLayout(content_);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->addLayout(columns, 1);
    rows->addLayout(bottom);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(ScrollingArea(content_));

    // Timer ticks change the model too.
    for (Timer* timer : form_.c.timers()) {
        auto tick = timer->onTimer;
        timer->onTimer = [this, tick] {
            if (tick)
                tick();
            refresh();
        };
    }
    // Where the user puts the focus is where the form finds it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && isAncestorOf(now))
            form_.c.focus = focusShown_ = now->objectName().toStdString();
    });
    refresh();
    qApp->installEventFilter(this);
    // A menu closed without a choice is a cancel.
    connect(&fileMenu_, &QMenu::aboutToHide, this, [this] {
        if (form_.c.fileMenuShown)
            form_.files().Mcan_Click();
    });
}

void MainWindow::refresh() {
    binding_.refresh();
    showDecimalPosition();
    // The manual group shows while any of its controls does.
    bool shown = false;
    for (QWidget* child : manual_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        shown = shown || !child->isHidden();
    if (shown == manual_->isHidden()) {
        // The file list has just gone or come back: the layout must know before the manual
        // group takes or gives back its place, or the window grows to hold both at once.
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        manual_->setVisible(shown);
    }
    showFileMenu();
    showFocus();
    showFolder();
}

void MainWindow::showDecimalPosition() {
    auto degrees = [this](bool latitude) {
        double value = static_cast<double>(form_.manual().coordinateTenths(latitude)) / 36000;
        const char* sides = latitude ? "NS" : "EW";
        return QString::number(std::abs(value), 'f', 5) + QString::fromUtf8("\xc2\xb0 ") +
               QChar(sides[value < 0 ? 1 : 0]);
    };
    decimal_->setText(degrees(true) + "   " + degrees(false));
    decimal_->setVisible(form_.c.ggn.visible);
}

void MainWindow::showFolder() {
    QString path = FromText(form_.c.File1.path());
    folder_->setToolTip(path);
    folder_->setText(
        folder_->fontMetrics().elidedText(path, Qt::ElideMiddle, std::max(0, folder_->width())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    form_.SaveWindowSize();
    QWidget::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Measured once the controls have their fonts and style.
    if (!std::exchange(fitted_, true)) {
        content_->layout()->activate();
        FitOnScreen(*this, content_->sizeHint(), savedSize_);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The size the settings keep, for the next start.
    form_.s.windowWidth = width();
    form_.s.windowHeight = height();
    showFolder();
}

QString MainWindow::droppedFile(const QMimeData* data) const {
    const FileListBox& files = form_.c.File1;
    if (!data || !data->hasUrls() || !files.enabled || !files.visible)
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            return url.toLocalFile();
    return {};
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QString file = droppedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    form_.files().ChooseFile(ToText(file));
    refresh();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent*) {
    form_.Form_DblClick();
    refresh();
}

void MainWindow::showFileMenu() {
    if (!form_.c.fileMenuShown || fileMenu_.isVisible())
        return;
    fileMenu_.clear();
    for (CommandButton* item : {&form_.c.MRen, &form_.c.MDel, &form_.c.Mcan}) {
        QAction* action = fileMenu_.addAction(FromText(item->caption));
        action->setObjectName(QString::fromStdString(item->name));
        connect(action, &QAction::triggered, this, [this, item] {
            item->onClick();
            refresh();
        });
    }
    fileMenu_.popup(QCursor::pos());
}

void MainWindow::showFocus() {
    if (form_.c.focus == focusShown_)
        return;
    focusShown_ = form_.c.focus;
    if (auto* widget = findChild<QWidget*>(QString::fromStdString(focusShown_)))
        widget->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    bool press = event->type() == QEvent::KeyPress;
    auto* target = qobject_cast<QWidget*>(watched);
    // A key goes to the focused widget first and may then travel up to its parents: take it
    // once, where it starts.
    if ((!press && event->type() != QEvent::KeyRelease) || target != QApplication::focusWidget() ||
        (target != this && !isAncestorOf(target)))
        return QWidget::eventFilter(watched, event);
    // The form sees every key before its controls, as the simulator's keys are the form's.
    auto* key = static_cast<QKeyEvent*>(event);
    static const std::pair<int, int> codes[] = {
        {Qt::Key_Escape, 27},  {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},    {Qt::Key_Space, 32}, {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},      {Qt::Key_Right, 39},  {Qt::Key_Down, 40}};
    int code = 0;
    for (auto [qt, vk] : codes)
        if (key->key() == qt)
            code = vk;
    if (code == 0)
        return QWidget::eventFilter(watched, event);
    Qt::KeyboardModifiers m = key->modifiers();
    int shift = (m & Qt::ShiftModifier ? 1 : 0) + (m & Qt::ControlModifier ? 2 : 0) +
                (m & Qt::AltModifier ? 4 : 0);
    if (press) {
        // Enter in the port box is the box's: a port typed, not a text recorded.
        if (code != 13 || watched->objectName() != "TcpPortT")
            form_.Form_KeyDown(code, shift);
        if (watched->objectName() == "FileT")
            form_.files().FileT_KeyDown(code);
        if (watched->objectName() == "TcpPortT")
            form_.ports().TcpPortT_KeyDown(code);
    } else
        form_.manual().Form_KeyUp(code, shift);
    refresh();
    // In manual mode the keys are the form's alone; a focused bar must not step as well.
    bool taken = code == 27 || (form_.c.Manu.value.get() == 1 && code != 16);
    return taken || QWidget::eventFilter(watched, event);
}

QWidget* MainWindow::fileBrowser() {
    Controls& c = form_.c;
    auto* layout = new QVBoxLayout;
    folder_ = new QLabel;
    folder_->setObjectName("FolderPath");
    folder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(folder_);
    layout->addWidget(binding_.driveList(c.Drive1));
    layout->addWidget(binding_.folderList(c.Dir1));
    // Sentences line up in a fixed-width font of the window's size; a sentence wider than the
    // list scrolls sideways rather than widening the window.
    QListWidget* messages = binding_.list(c.List1);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (font().pointSizeF() > 0)
        fixed.setPointSizeF(font().pointSizeF());
    messages->setFont(fixed);
    messages->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Six lines at least: a tick of every sentence kind, and a message beside it.
    messages->setMinimumHeight(6 * QFontMetrics(fixed).lineSpacing() + 2 * messages->frameWidth() +
                               messages->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    layout->addWidget(messages, 2);
    layout->addWidget(binding_.button(c.DirSel));
    layout->addWidget(binding_.fileList(c.File1), 3);
    auto* filter = new QHBoxLayout;
    filter->addWidget(binding_.label(c.Label12));
    filter->addWidget(binding_.textBox(c.FileT), 1);
    layout->addLayout(filter);
    auto* filters = new QHBoxLayout;
    for (CommandButton* b : {&c.NMEA, &c.ALL, &c.TRACK, &c.LOA, &c.SAVE})
        filters->addWidget(binding_.button(*b));
    layout->addLayout(filters);
    auto* loaded = new QHBoxLayout;
    loaded->addWidget(binding_.label(c.FileL), 1);
    loaded->addWidget(binding_.button(c.DownloadC));
    layout->addLayout(loaded);
    return group("Files", layout);
}

QWidget* MainWindow::transport() {
    Controls& c = form_.c;
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(binding_.checkBox(c.Pause, "‖"));
    row->addWidget(binding_.label(c.PauseL));
    for (CommandButton* b : {&c.RESTART, &c.Back, &c.Skip1, &c.Skip2})
        row->addWidget(narrow(binding_.button(*b)));
    row->addWidget(binding_.checkBox(c.AutoSkip, "⇥"));
    row->addWidget(binding_.label(c.AutoL));
    row->addWidget(binding_.checkBox(c.Lop, "↻"));
    row->addWidget(binding_.label(c.LoopL));
    // The last-record box apart from the loop's symbol, which a user would read as its caption.
    row->addSpacing(6);
    row->addWidget(separator());
    row->addSpacing(6);
    row->addWidget(binding_.checkBox(c.Last));
    row->addWidget(lamp(binding_.image(c.StopA, "■")));
    row->addWidget(lamp(binding_.label(c.RunA, "●")));

    auto* intervals = new QGridLayout;
    for (int i = 0; i < 8; ++i)
        intervals->addWidget(binding_.option(c.Abstand[i]), i / 4, i % 4);
    QGroupBox* interval = group(QString::fromStdString(c.Interval.caption), intervals);
    interval->setObjectName(QString::fromStdString(c.Interval.name));
    interval->setToolTip(QString::fromStdString(c.Interval.toolTip));

    auto* options = new QHBoxLayout;
    options->addWidget(binding_.checkBox(c.MinC, "↓"));
    options->addWidget(lamp(binding_.image(c.MiniA, "_")));
    options->addWidget(binding_.checkBox(c.AutoReset));
    // The box has no caption of its own: what it does, beside it.
    auto* reset = new QLabel("reset at a new track");
    reset->setObjectName("AutoResetCaption");
    options->addWidget(reset);
    options->addSpacing(12);
    options->addWidget(binding_.checkBox(c.Manu));
    options->addStretch();

    auto* layout = new QVBoxLayout;
    layout->addLayout(row);
    layout->addWidget(binding_.gauge(c.Gauge2));
    layout->addWidget(interval);
    layout->addLayout(options);
    return group("Replay", layout);
}

QWidget* MainWindow::sentencesAndOutput() {
    Controls& c = form_.c;
    auto* boxes = new QGridLayout;
    for (int i = 0; i < 7; ++i)
        boxes->addWidget(binding_.checkBox(c.Data[i]), i / 4, i % 4);
    boxes->addWidget(narrow(binding_.button(c.RMCRMB)), 2, 0);
    boxes->addWidget(narrow(binding_.button(c.Command1)), 2, 1);
    boxes->addWidget(binding_.checkBox(c.Equ), 2, 2, 1, 2);

    auto* port = new QHBoxLayout;
    port->addWidget(binding_.label(c.PortL));
    port->addWidget(binding_.comboBox(c.PortC), 1);
    port->addWidget(binding_.label(c.TCPstat));
    port->addWidget(binding_.checkBox(c.TcpLan));
    QLineEdit* tcpPort = binding_.textBox(c.TcpPortT);
    tcpPort->setMaxLength(5);
    tcpPort->setMaximumWidth(tcpPort->fontMetrics().horizontalAdvance("000000") + 12);
    port->addWidget(tcpPort);
    // The two rates of old receivers as buttons, every rate the port takes beside them.
    auto* rates = new QHBoxLayout;
    for (OptionButton& speed : c.Pspeed)
        rates->addWidget(binding_.option(speed));
    rates->addWidget(binding_.comboBox(c.BaudC));
    rates->addStretch();

    auto* layout = new QVBoxLayout;
    layout->addLayout(boxes);
    layout->addLayout(port);
    layout->addLayout(rates);
    return group("Sentences and output", layout);
}

QWidget* MainWindow::instruments() {
    Controls& c = form_.c;
    auto* layout = new QGridLayout;
    // Each figure as wide as the widest it shows from the start, so that the box keeps its size
    // when a replay fills them.
    const std::map<const Label*, const char*> widest = {
        {&c.Zeit, "00:00:00"}, {&c.Datum, "2026-Sep-30"}, {&c.WtL, "30.September2026"},
        {&c.SpeedL, "9999.9"}, {&c.MaxL, "9999.9"},       {&c.DistL, "99999.9"},
        {&c.TTL, "00:00:00"},  {&c.TripL, "99999.9"},     {&c.NNL, "-99999"},
        {&c.NNminL, "-99999"}, {&c.NNmaxL, "-99999"}};
    auto add = [&](Label& label, int row, int column) {
        QLabel* shown = binding_.label(label);
        if (auto text = widest.find(&label); text != widest.end())
            shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(text->second));
        layout->addWidget(shown, row, column);
    };
    add(c.Label2, 0, 0);
    add(c.Label7, 0, 1);
    add(c.TZL, 0, 2);
    layout->addWidget(binding_.scrollBar(c.TZdiff, Qt::Vertical), 0, 3, 2, 1);
    add(c.Zeit, 1, 0);
    add(c.Datum, 1, 1);
    add(c.WtL, 1, 2);
    Label* rows[][3] = {{&c.SpeedL, &c.Label3, &c.MaxL},
                        {&c.DistL, &c.Label6, &c.TTL},
                        {&c.TripL, &c.Label16, nullptr},
                        {&c.NNL, &c.Label9, nullptr},
                        {&c.NNminL, &c.NNmaxL, nullptr}};
    int row = 2;
    for (auto& labels : rows) {
        for (int column = 0; column < 3; ++column)
            if (labels[column])
                add(*labels[column], row, column);
        ++row;
    }
    // The course needle beside the figures it goes with.
    layout->addWidget(binding_.compass(c.Gauge1), 2, 3, row - 2, 1);
    return group("Instruments", layout);
}

QWidget* MainWindow::manualEntry() {
    Controls& c = form_.c;
    auto* layout = new QGridLayout;
    Label* north[] = {&c.ggn, &c.mmn, &c.ssn, &c.kkn};
    Label* east[] = {&c.ggo, &c.mmo, &c.sso, &c.kko};
    for (int i = 0; i < 4; ++i) {
        layout->addWidget(binding_.label(*north[i]), 0, i);
        layout->addWidget(tall(binding_.scrollBar(c.VSc1[i], Qt::Vertical)), 1, i);
        layout->addWidget(binding_.label(*east[i]), 2, i);
        layout->addWidget(tall(binding_.scrollBar(c.HSc1[i], Qt::Horizontal)), 3, i);
    }
    // Altitude, speed and the auto-point distance beside the position, their bars as tall as
    // the latitude's.
    Label* values[] = {&c.nnM, &c.kmhM, &c.AutoM};
    ScrollBar* bars[] = {&c.VSc2, &c.VSc3, &c.VSc4};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(binding_.label(*values[i]), 0, 4 + i);
        layout->addWidget(tall(binding_.scrollBar(*bars[i], Qt::Vertical)), 1, 4 + i, 3, 1);
    }
    decimal_ = new QLabel;
    decimal_->setObjectName("DecimalPosition");
    decimal_->setToolTip("Latitude and longitude in decimal degrees");
    decimal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(decimal_, 4, 0, 1, 7);
    auto* recording = new QHBoxLayout;
    for (CommandButton* b : {&c.SetFN, &c.SaveP, &c.SaveT})
        recording->addWidget(binding_.button(*b));
    layout->addLayout(recording, 5, 0, 1, 7);
    return group("Manual position", layout);
}

} // namespace korvel
