#pragma once

#include "platform/failure.h"
#include "platform/ui/control_group.h"
#include "platform/ui/form.h"
#include "platform/ui/ui_failures.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace ui {

// Controls of one kind that share a name and are told apart by an index.
// The elements made with the array exist by design; Load adds one at run
// time, in the same container and with the look of the array's first
// element, hidden. The form's unload drops the elements loaded at run time.
template <class Kind>
class ControlArray : public ControlGroup {
public:
    // Elements 0 to designed - 1, all in `container`; Design may move them.
    template <class... Extra>
    ControlArray(Container& container, std::string name, int designed, Extra... extra)
        : form_(container.OwnerForm()), name_(std::move(name)), make_([this, extra...](Container& in, int index) {
              return std::make_unique<Kind>(in, name_, index, extra...);
          }) {
        for (int index = 0; index < designed; ++index)
            elements_.emplace(index, Element{make_(container, index), false});
        form_.Register(*this);
    }
    ~ControlArray() override { form_.Forget(*this); }
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    // Fails with "Control array element does not exist" (340).
    Kind& operator()(int index) {
        const auto found = elements_.find(index);
        if (found == elements_.end())
            throw Failure(failure::ControlArrayElementMissing,
                          "Control array element " + std::to_string(index) + " doesn't exist");
        return *found->second.control;
    }

    bool Exists(int index) const { return elements_.count(index) != 0; }
    int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
    int Count() const { return static_cast<int>(elements_.size()); }

    // Fails with "Object already loaded" (360) for an index in use.
    void Load(int index) {
        if (Exists(index)) throw Failure(failure::ObjectAlreadyLoaded, "Object already loaded");
        if (elements_.empty())
            throw Failure(failure::ControlArrayElementMissing, "Control array element doesn't exist");
        Kind& first = *elements_.begin()->second.control;
        std::unique_ptr<Kind> element = make_(first.GetContainer(), index);
        first.Parent().Load();
        element->CreateWindow();
        element->CopyLook(first);
        element->SetVisible(false);
        elements_.emplace(index, Element{std::move(element), true});
    }

    // Drops an element loaded at run time; a designed one fails with
    // "Can't unload controls created at design time" (362).
    void Unload(int index) {
        const auto found = elements_.find(index);
        if (found == elements_.end())
            throw Failure(failure::ControlArrayElementMissing, "Control array element doesn't exist");
        if (!found->second.loadedAtRunTime)
            throw Failure(failure::CannotUnloadDesignTimeControl, "Can't unload controls created at design time");
        elements_.erase(found);
    }

    void DropRunTimeElements() override {
        std::erase_if(elements_, [](const auto& entry) { return entry.second.loadedAtRunTime; });
    }

private:
    struct Element {
        std::unique_ptr<Kind> control;
        bool loadedAtRunTime;
    };

    Form& form_;
    std::string name_;
    std::function<std::unique_ptr<Kind>(Container&, int)> make_;
    std::map<int, Element> elements_;
};

}  // namespace ui
