// TComboBox on a native combo box, with its Items as a string list view of the native list.
#include "platform/ui/ComboBox.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/QtBridge_p.h"

#include <QComboBox>
#include <QLineEdit>

namespace ui {

namespace {

// The combo box's items seen as a string list.
class TComboItems : public rtl::TStrings {
public:
    explicit TComboItems(QComboBox *box) : FBox(box) {}
    int32_t GetCount() const override { return FBox->count(); }
    rtl::UnicodeString Get(int32_t i) const override {
        Check(i, GetCount());
        return gfx::qt::FromQString(FBox->itemText(i));
    }
    void Put(int32_t i, const rtl::UnicodeString &s) override {
        Check(i, GetCount());
        FBox->setItemText(i, gfx::qt::ToQString(s));
    }
    void Insert(int32_t i, const rtl::UnicodeString &s) override {
        Check(i, GetCount() + 1);
        const int keep = FBox->currentIndex();
        FBox->insertItem(i, gfx::qt::ToQString(s));
        // A new first item must not become the current one by itself.
        FBox->setCurrentIndex(keep < 0 ? -1 : (i <= keep ? keep + 1 : keep));
    }
    void Delete(int32_t i) override {
        Check(i, GetCount());
        FBox->removeItem(i);
    }
    void Clear() override { FBox->clear(); }

private:
    static void Check(int32_t i, int32_t limit) {
        if (i < 0 || i >= limit) {
            throw rtl::EStringListError(u"List index out of bounds (" +
                                        rtl::Utf8ToUtf16(std::to_string(i)) + u")");
        }
    }
    QComboBox *FBox;
};

QComboBox *BoxOf(const TControl &c) {
    return static_cast<QComboBox *>(qt::WidgetOf(c));
}

} // namespace

TComboBox::TComboBox(TComponent *owner) : TWinControl(owner) {
    auto *box = new QComboBox();
    box->setEditable(true);
    qt::AttachWidget(*this, box, false);
    FItems = std::make_unique<TComboItems>(box);
    QObject::connect(box, &QComboBox::activated, box, [this](int) {
        qt::CallSafely([this] {
            if (OnSelect) {
                OnSelect(this);
            }
            if (OnChange) {
                OnChange(this);
            }
        });
    });
    if (QLineEdit *edit = box->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, box, [this](const QString &) {
            qt::CallSafely([this] {
                if (OnChange) {
                    OnChange(this);
                }
            });
        });
    }
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

void TComboBox::SetStyle(TComboBoxStyle style) {
    FStyle = style;
    BoxOf(*this)->setEditable(style != csDropDownList);
}

int32_t TComboBox::GetItemIndex() const {
    return BoxOf(*this)->currentIndex();
}

void TComboBox::SetItemIndex(int32_t index) {
    QComboBox *box = BoxOf(*this);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

rtl::UnicodeString TComboBox::GetText() const {
    return gfx::qt::FromQString(BoxOf(*this)->currentText());
}

void TComboBox::SetText(const rtl::UnicodeString &text) {
    QComboBox *box = BoxOf(*this);
    const int found = box->findText(gfx::qt::ToQString(text));
    if (FStyle == csDropDownList) {
        box->setCurrentIndex(found);
    } else {
        box->setEditText(gfx::qt::ToQString(text));
    }
}

void TComboBox::SetDropDownCount(int32_t n) {
    FDropDownCount = n;
    BoxOf(*this)->setMaxVisibleItems(n);
}

void TComboBox::SelectForTesting(int32_t index) {
    QComboBox *box = BoxOf(*this);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace ui
