#include "dshow/enumerators.h"

#include <new>

#include "dshow/base_filter.h"
#include "dshow/base_pin.h"
#include "win32/com_object.h"
#include "win32/module_lock.h"

namespace brontel::dshow {

namespace {

// What both enumerators share: the reference count and the position over a
// source that reports its item count.
template <typename Interface, const IID& kIid>
class EnumeratorBase : public SingleInterfaceObject<Interface, kIid> {
 public:
  STDMETHODIMP Reset() override {
    m_position = 0;
    return S_OK;
  }

 protected:
  int m_position = 0;
  ModuleObjectLock m_moduleLock;
};

class PinEnumerator final : public EnumeratorBase<IEnumPins, IID_IEnumPins> {
 public:
  explicit PinEnumerator(BaseFilter* filter, int position = 0) : m_filter(filter) {
    m_filter->AddRef();
    m_position = position;
  }

  STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
    if (!pins) return E_POINTER;
    if (!fetched && count != 1) return E_POINTER;
    ULONG done = 0;
    while (done < count && m_position < m_filter->PinCount()) {
      BasePin* pin = m_filter->Pin(m_position++);
      if (!pin) continue;
      pin->AddRef();
      pins[done++] = pin;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    ULONG left = static_cast<ULONG>(m_filter->PinCount() - m_position);
    if (count > left) return S_FALSE;
    m_position += static_cast<int>(count);
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumPins** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    *ppEnum = new (std::nothrow) PinEnumerator(m_filter, m_position);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
  }

 private:
  ~PinEnumerator() override { m_filter->Release(); }
  BaseFilter* m_filter;
};

class MediaTypeEnumerator final : public EnumeratorBase<IEnumMediaTypes, IID_IEnumMediaTypes> {
 public:
  explicit MediaTypeEnumerator(BasePin* pin, int position = 0) : m_pin(pin) {
    m_pin->AddRef();
    m_position = position;
  }

  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
    if (!types) return E_POINTER;
    if (!fetched && count != 1) return E_POINTER;
    ULONG done = 0;
    HRESULT result = S_OK;
    while (done < count) {
      MediaType mt;
      if (m_pin->GetMediaType(m_position, &mt) != S_OK) break;
      AM_MEDIA_TYPE* copy = CreateMediaType(mt.Get());
      if (!copy) {
        result = E_OUTOFMEMORY;
        break;
      }
      ++m_position;
      types[done++] = copy;
    }
    if (fetched) *fetched = done;
    if (FAILED(result) && done == 0) return result;
    return done == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    for (ULONG i = 0; i < count; ++i) {
      MediaType mt;
      if (m_pin->GetMediaType(m_position + static_cast<int>(i), &mt) != S_OK) return S_FALSE;
    }
    m_position += static_cast<int>(count);
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    *ppEnum = new (std::nothrow) MediaTypeEnumerator(m_pin, m_position);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
  }

 private:
  ~MediaTypeEnumerator() override { m_pin->Release(); }
  BasePin* m_pin;
};

}  // namespace

HRESULT CreatePinEnumerator(BaseFilter* filter, IEnumPins** ppEnum) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = new (std::nothrow) PinEnumerator(filter);
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateMediaTypeEnumerator(BasePin* pin, IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = new (std::nothrow) MediaTypeEnumerator(pin);
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

}  // namespace brontel::dshow
