#include "framework/descriptors/descriptor_collection.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "framework/descriptors/descriptor_builder.h"
#include "framework/descriptors/member_table.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr char kItemSource[] = "Ostrel.Zam.Collection.Item";

// Walks a snapshot of the items.
class CollectionEnumerator : public IEnumVARIANT {
  public:
    // An enumerator holds a module lock while it lives, as every framework object does.
    static void *operator new(std::size_t size) { return AllocateObject(size); }
    static void operator delete(void *block) noexcept { FreeObject(block); }
    explicit CollectionEnumerator(std::vector<platform::ComPtr<IDispatch>> items, size_t next = 0)
        : items_(std::move(items)), next_(next) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (!platform::SameGuid(iid, platform::kIID_IUnknown) &&
            !platform::SameGuid(iid, platform::kIID_IEnumVARIANT))
            return E_NOINTERFACE;
        *object = static_cast<IEnumVARIANT *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT *items, ULONG *fetched) override {
        if (fetched != nullptr)
            *fetched = 0;
        if (count == 0)
            return S_OK;
        if (items == nullptr || (fetched == nullptr && count != 1))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && next_ < items_.size(); ++done, ++next_) {
            VariantInit(&items[done]);
            SetObject(&items[done], items_[next_].Get());
        }
        if (fetched != nullptr)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = items_.size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override {
        if (copy == nullptr)
            return E_POINTER;
        *copy = nullptr;
        try {
            *copy =
                platform::ComPtr<IEnumVARIANT>(new CollectionEnumerator(items_, next_)).Detach();
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

  private:
    virtual ~CollectionEnumerator() = default;

    std::vector<platform::ComPtr<IDispatch>> items_;
    size_t next_;
    std::atomic<ULONG> references_{0};
};

}  // namespace

IDispatch *CICollectionImpl::ItemFor(const VARIANT &index) const {
    std::string name;
    int64_t position = 0;
    if (ToText(index, &name)) {
        for (const Item &item : items_) {
            if (NameEqual()(item.name, name))
                return item.object.Get();
        }
        RaiseErrorFormat(DISP_E_BADINDEX, kItemSource, "No item named '%.200s'", name.c_str());
    }
    if (!ToIndex(index, &position))
        EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    if (position < 1 || static_cast<uint64_t>(position) > items_.size())
        RaiseErrorFormat(DISP_E_BADINDEX, kItemSource, "Index %s is out of the range 1 to %s",
                         std::to_string(position).c_str(), std::to_string(items_.size()).c_str());
    return items_[static_cast<size_t>(position - 1)].object.Get();
}

platform::ComPtr<IEnumVARIANT> CICollectionImpl::NewEnum() const {
    std::vector<platform::ComPtr<IDispatch>> objects;
    objects.reserve(items_.size());
    for (const Item &item : items_)
        objects.push_back(item.object);
    return platform::ComPtr<IEnumVARIANT>(new CollectionEnumerator(std::move(objects)));
}

CIComponentDescriptorImpl &CICollectionImpl::ClassDescriptor() {
    static const ComponentRef descriptor = [] {
        ComponentRef built = NewClassDescriptor("Ostrel.Zam.Collection", platform::kGUID_NULL, 0);
        AddProperty(*built.Get(), "Count", VT_I4,
                    {Getter<CICollectionImpl>([](CICollectionImpl &c, VARIANT *result) {
                        SetInt32(result, static_cast<int32_t>(c.Count()));
                    })},
                    {-1, 0, "Returns the number of items"});
        PropertyAccessors item;
        item.get_indexed = IndexedGetter<CICollectionImpl>(
            [](CICollectionImpl &c, const VARIANT &index, VARIANT *result) {
                SetObject(result, c.ItemFor(index));
            });
        auto item_property = AddProperty(*built.Get(), "Item", VT_DISPATCH, std::move(item),
                                         {DISPID_VALUE, 0, "Returns an item by index or name"});
        item_property->SetIndexParameters({Parameter("Index", VT_VARIANT)});
        // A method, so that every host's enumeration call reaches it: VBScript's
        // For Each asks with method-or-read, JScript's Enumerator with method alone.
        AddMethod(*built.Get(), "_NewEnum",
                  MethodOf<CICollectionImpl>(
                      [](CICollectionImpl &c, const ArgumentValues &, VARIANT *result) {
                          SetUnknown(result, c.NewEnum().Get());
                      }),
                  {DISPID_NEWENUM, kMemberHidden, "Returns an enumerator of the items"});
        return built;
    }();
    return *descriptor.Get();
}

}  // namespace Ostrel::Zam
