#include "velk/ExComboBox.h"

#include "velk/VelkLibrary.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

namespace {

[[maybe_unused]] const bool kExComboBoxRegistered = (RegisterVelkLibrary(), true);

} // namespace

CExComboBox::CExComboBox(Kind kind, int id, QWidget* parent)
    : QComboBox(parent), m_kind(kind), m_id(id)
{
    setEditable(kind != kDropDownList);
    if (QLineEdit* edit = lineEdit()) {
        // Completion, insertion and matching are this class's own: switch off the combo's.
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
        disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
        disconnect(edit, &QLineEdit::returnPressed, this, nullptr);
        connect(edit, &QLineEdit::textEdited, this, &CExComboBox::OnTextEdited);
    } else {
        m_bAutoSelect = false;
    }
    connect(this, &QComboBox::activated, this, &CExComboBox::OnActivated);
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (m_overlay)
            m_overlay->setText(text);
    });
}

CExComboBox::~CExComboBox()
{
    delete m_overlay.data(); // owned by the parent, but it lives only as long as the combo
}

int CExComboBox::AddItem(const QString& text, const QVariant& data)
{
    int index = count();
    if (m_sorted) {
        index = 0;
        while (index < count() && QString::compare(itemText(index), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    insertItem(index, text, data);
    return index;
}

QString CExComboBox::GetSelectedText() const
{
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

int CExComboBox::FindPrefix(const QString& text) const
{
    return text.isEmpty() ? -1 : findText(text, Qt::MatchStartsWith);
}

bool CExComboBox::IsDropped() const
{
    return m_dropped;
}

void CExComboBox::Notify(int code)
{
    const int selection = currentIndex();
    if (code == kSelChange) {
        if (IsDropped())
            m_bSelEndPending = true;
        if (selection == m_nLastSelChange)
            return;
        m_nLastSelChange = selection;
    } else if (code == kSelEndOk) {
        if (selection == m_nLastSelEndOk)
            return;
        m_nLastSelEndOk = selection;
        m_bSelEndPending = false;
    }
    emit Command(m_id, code);
}

void CExComboBox::SelectKeepingText(int index)
{
    QLineEdit* edit = lineEdit();
    if (index == currentIndex())
        return;
    if (!edit) {
        setCurrentIndex(index);
        return;
    }
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    setCurrentIndex(index);
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
}

void CExComboBox::OnTextEdited(const QString& text)
{
    // While the list is open its selection follows the edited text; while it is closed an
    // edit leaves no item selected, until completion selects one.
    SelectKeepingText(IsDropped() ? FindPrefix(text) : -1);
}

void CExComboBox::AutoComplete(int previous)
{
    QLineEdit* edit = lineEdit();
    if (!m_bAutoComplete || !edit)
        return;
    const QString typed = edit->text();
    // An empty field stays empty, so that Backspace can clear it.
    const int item = FindPrefix(typed);
    if (item < 0) {
        Notify(kSelChange);
        return;
    }
    const QString full = itemText(item);
    setCurrentIndex(item);
    edit->setText(full);
    if (item != previous) {
        Notify(kSelChange);
        if (!IsDropped())
            m_bSelEndPending = true;
    }
    // The caret stays after the typed text and the completion is selected, so that further
    // typing replaces it.
    const auto length = static_cast<int>(full.size());
    edit->setSelection(length, static_cast<int>(typed.size()) - length);
}

void CExComboBox::Backspace()
{
    QLineEdit* edit = lineEdit();
    const int previous = currentIndex();
    int start = edit->cursorPosition();
    int end = start;
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        end = edit->selectionEnd();
    }
    if (start > 0)
        --start;
    if (end > start) {
        edit->setSelection(start, end - start);
        edit->del();
    }
    AutoComplete(previous);
}

void CExComboBox::SyncSelection()
{
    if (!m_bAutoSelect)
        return;
    const QString text = lineEdit() ? lineEdit()->text() : currentText();
    const int selection = currentIndex();
    if (selection >= 0 && itemText(selection) == text)
        return;
    int item = FindPrefix(text);
    if (item < 0)
        item = count() > 0 ? 0 : -1;
    if (item == selection)
        return;
    setCurrentIndex(item);
    m_bSelEndPending = false;
    Notify(kSelChange);
    Notify(kSelEndOk);
}

void CExComboBox::OnEnter()
{
    SyncSelection();
    if (m_bSelEndPending) {
        m_bSelEndPending = false;
        // Typing on after a completion can leave no item selected: then nothing is confirmed,
        // and Enter is about the text alone.
        if (currentIndex() >= 0)
            Notify(kSelEndOk);
    }
    Notify(kDblClk);
}

void CExComboBox::OnActivated()
{
    // The user chose an item: from the open list, or with the arrow keys or the wheel.
    const bool fromList = m_dropped || m_closing;
    if (fromList)
        m_picked = true;
    Notify(kSelChange);
    if (!fromList && lineEdit()) {
        // Stepping through the items with the list closed only shows them; Enter confirms.
        m_bSelEndPending = true;
        return;
    }
    Notify(kSelEndOk);
}

void CExComboBox::ShowListIn(QAbstractItemView& view)
{
    m_list = &view;
    view.setModel(model());
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto follow = [this] {
        if (m_list)
            m_list->setCurrentIndex(model()->index(currentIndex(), modelColumn()));
    };
    connect(this, &QComboBox::currentIndexChanged, &view, follow);
    follow();
    connect(view.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (!index.isValid() || index.row() == currentIndex())
                    return;
                setCurrentIndex(index.row());
                Notify(kSelChange);
                m_bSelEndPending = true; // Enter confirms it
            });
    connect(&view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        setCurrentIndex(index.row());
        Notify(kSelChange);
        m_nLastSelEndOk = -2; // every click is a pick of its own
        Notify(kSelEndOk);
    });
    if (QLineEdit* edit = lineEdit()) {
        edit->installEventFilter(this);
        edit->setGeometry(PlainFieldRect());
    }
    update();
}

QRect CExComboBox::PlainFieldRect() const
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return rect().adjusted(frame + 1, frame, -frame - 1, -frame);
}

bool CExComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // The combo puts its field beside a drop-down button; with the list below there is none.
    if (m_list && watched == lineEdit() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        lineEdit()->geometry() != PlainFieldRect())
        lineEdit()->setGeometry(PlainFieldRect());
    return QComboBox::eventFilter(watched, event);
}

void CExComboBox::paintEvent(QPaintEvent* event)
{
    if (!m_list) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

void CExComboBox::showPopup()
{
    if (m_list)
        return; // the list is shown already
    if (QLineEdit* edit = lineEdit()) {
        // Open at the item that begins with the longest leading part of the typed text.
        const QString text = edit->text();
        for (auto length = text.size(); length > 0; --length) {
            const int item = FindPrefix(text.left(length));
            if (item < 0)
                continue;
            if (item != currentIndex()) {
                setCurrentIndex(item);
                Notify(kSelChange);
            }
            break;
        }
    }
    m_dropped = true;
    m_closing = false;
    m_picked = false;
    QComboBox::showPopup();
}

void CExComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (!m_dropped)
        return;
    m_dropped = false;
    m_closing = true;
    // A pick from the list reports itself right after the list closed; what is left when
    // the queue comes round was a cancel.
    QMetaObject::invokeMethod(this, &CExComboBox::OnPopupClosed, Qt::QueuedConnection);
}

void CExComboBox::OnPopupClosed()
{
    if (!m_closing)
        return;
    m_closing = false;
    // A selection typed or made while the list was open counts even when the list is
    // cancelled.
    if (!m_picked && m_bSelEndPending) {
        m_bSelEndPending = false;
        Notify(kSelEndOk);
    }
}

void CExComboBox::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QLineEdit* edit = lineEdit();
    switch (event->key()) {
    case Qt::Key_F4:
        return; // the list opens with Down only
    case Qt::Key_Down:
        if (modifiers == Qt::NoModifier && !IsDropped() && !m_list) {
            showPopup();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (edit && !IsDropped()) {
            OnEnter();
            return; // Enter is the field's own, not the dialog's default button's
        }
        break;
    case Qt::Key_Escape:
        if (edit && !IsDropped())
            return; // the field's own too: it does not close the dialog
        break;
    case Qt::Key_Backspace:
        if (edit && modifiers == Qt::NoModifier) {
            Backspace();
            return;
        }
        break;
    default:
        break;
    }
    const QString text = event->text();
    if (edit && !text.isEmpty() && text.front().isPrint() &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const int previous = currentIndex();
        QComboBox::keyPressEvent(event);
        AutoComplete(previous);
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CExComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    if (m_focused && event->reason() == Qt::PopupFocusReason)
        return; // back from the list
    m_focused = true;
    m_nLastSelEndOk = m_nLastSelChange = currentIndex();
    emit Command(m_id, kSetFocus);
}

void CExComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The open list takes the keyboard, but the field keeps the focus.
    if (!m_focused || IsDropped() || event->reason() == Qt::PopupFocusReason)
        return;
    m_focused = false;
    SyncSelection();
    emit Command(m_id, kKillFocus);
}

void CExComboBox::UpdateOverlay()
{
    QWidget* parent = parentWidget();
    if (isEnabled() || !isVisible() || !parent) {
        if (m_overlay)
            m_overlay->hide();
        return;
    }
    if (!m_overlay) {
        m_overlay = new QLineEdit(parent); // owned by the parent, deleted with the combo
        m_overlay->setReadOnly(true);
        m_overlay->setFrame(false);
        m_overlay->setFocusPolicy(Qt::ClickFocus);
    }
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    m_overlay->setFont(font());
    m_overlay->setText(currentText());
    // Screen readers that reach the field hear the combo's name (or its label's).
    QString name = accessibleName();
    if (QAccessibleInterface* view = QAccessible::queryAccessibleInterface(this);
        view && name.isEmpty()) {
        const auto labels = view->relations(QAccessible::Label);
        if (!labels.isEmpty())
            name = labels.front().first->text(QAccessible::Name);
    }
    m_overlay->setAccessibleName(name);
    m_overlay->setGeometry(field.translated(pos()));
    m_overlay->show();
    m_overlay->raise();
}

void CExComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        UpdateOverlay();
}

void CExComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    if (m_list && lineEdit())
        lineEdit()->setGeometry(PlainFieldRect());
    UpdateOverlay();
}

void CExComboBox::moveEvent(QMoveEvent* event)
{
    QComboBox::moveEvent(event);
    UpdateOverlay();
}

void CExComboBox::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    UpdateOverlay();
}

void CExComboBox::hideEvent(QHideEvent* event)
{
    QComboBox::hideEvent(event);
    UpdateOverlay();
}
