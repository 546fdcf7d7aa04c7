#include "app/DialogBuilder.h"

#include "panlo/ControlId.h"
#include "velk/ExComboBox.h"
#include "velk/ExEdit.h"
#include "velk/HyperLink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

QString CDialogBuilder::Text(const Control& control)
{
    return control.text ? QCoreApplication::translate("Dialog", control.text) : QString();
}

double CDialogBuilder::WidthNeeded(const QFont& font, const Control& control)
{
    if (!control.text || !*control.text)
        return 0;
    const int text = QFontMetrics(font).horizontalAdvance(Text(control));
    switch (control.kind) {
    case Kind::Static:
    case Kind::Link:
        return text + 2;
    case Kind::Check:
        return text + 24;
    case Kind::Button:
    case Kind::DefaultButton:
        return text + 12;
    case Kind::Group:
        return text + 16;
    default:
        return 0;
    }
}

QWidget* CDialogBuilder::Add(const Control& control)
{
    const QString text = Text(control);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case Kind::Placeholder:
    case Kind::Frame:
        widget = new QWidget(&m_dialog);
        break;
    case Kind::Static:
        widget = new QLabel(text, &m_dialog);
        break;
    case Kind::Group:
        widget = new QGroupBox(text, &m_dialog);
        break;
    case Kind::Check:
        widget = new QCheckBox(text, &m_dialog);
        break;
    case Kind::Button:
    case Kind::DefaultButton: {
        auto* button = new QPushButton(text, &m_dialog);
        button->setDefault(control.kind == Kind::DefaultButton);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    case Kind::Edit: {
        auto* edit = new CExEdit(control.id, &m_dialog);
        edit->setText(text);
        widget = edit;
        break;
    }
    case Kind::Link:
        widget = new CHyperLink(text, &m_dialog);
        break;
    case Kind::ComboList:
        widget = new CExComboBox(CExComboBox::kDropDownList, control.id, &m_dialog);
        break;
    case Kind::ComboEdit:
        widget = new CExComboBox(CExComboBox::kDropDown, control.id, &m_dialog);
        break;
    case Kind::ComboSimple:
        widget = new CExComboBox(CExComboBox::kSimple, control.id, &m_dialog);
        break;
    case Kind::List:
        widget = new QListView(&m_dialog);
        break;
    case Kind::Progress: {
        auto* progress = new QProgressBar(&m_dialog);
        progress->setTextVisible(false);
        progress->setRange(0, 100);
        progress->setValue(0);
        widget = progress;
        break;
    }
    case Kind::TabBar:
        widget = new QTabBar(&m_dialog);
        break;
    }
    QRect rect = m_units.ToPixels(control.units);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A template gives a combo's height with its list; the field is one line.
        rect.setHeight(combo->sizeHint().height());
    }
    widget->setGeometry(rect);
    SetControlId(widget, control.id);
    return widget;
}
