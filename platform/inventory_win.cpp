#include "platform/inventory_win.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <string>

namespace {

std::string ToAnsi(const wchar_t* text) {
  if (text == nullptr) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(static_cast<std::size_t>(size - 1));
  return result;
}

// A BSTR made from ANSI text, freed with the object.
class Bstr {
 public:
  explicit Bstr(const char* text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    value_ = ::SysAllocString(wide.c_str());
  }
  ~Bstr() { ::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return value_; }

 private:
  BSTR value_;
};

std::string StringProperty(IWbemClassObject* object, const wchar_t* name) {
  VARIANT value;
  ::VariantInit(&value);
  std::string text;
  if (SUCCEEDED(object->Get(name, 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR) {
    text = ToAnsi(value.bstrVal);
  }
  ::VariantClear(&value);
  return text;
}

}  // namespace

bool Win32DeviceInventory::Open() {
  Close();
  if (FAILED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return false;
  comInitialised_ = true;

  if (FAILED(::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE,
                                    nullptr)) ||
      FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWbemLocator, reinterpret_cast<void**>(&locator_)))) {
    Close();
    return false;
  }
  {
    Bstr ns("ROOT\\CIMV2");
    if (FAILED(locator_->ConnectServer(ns, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                       &services_))) {
      services_ = nullptr;
      Close();
      return false;
    }
  }
  if (FAILED(::CoSetProxyBlanket(services_, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                 EOAC_NONE))) {
    Close();
    return false;
  }
  Bstr language("WQL");
  Bstr query("SELECT * FROM Win32_PnPEntity");
  if (FAILED(services_->ExecQuery(language, query,
                                  WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                  &enumerator_))) {
    enumerator_ = nullptr;
    Close();
    return false;
  }
  return true;
}

bool Win32DeviceInventory::Next(InventoryEntry* entry) {
  if (enumerator_ == nullptr) return false;
  IWbemClassObject* object = nullptr;
  ULONG returned = 0;
  const HRESULT result = enumerator_->Next(static_cast<LONG>(WBEM_INFINITE), 1, &object, &returned);
  if (FAILED(result) || returned == 0 || object == nullptr) return false;
  entry->name = StringProperty(object, L"Name");
  entry->pnpDeviceId = StringProperty(object, L"PNPDeviceID");
  object->Release();
  return true;
}

void Win32DeviceInventory::Close() {
  if (enumerator_ != nullptr) enumerator_->Release();
  if (services_ != nullptr) services_->Release();
  if (locator_ != nullptr) locator_->Release();
  enumerator_ = nullptr;
  services_ = nullptr;
  locator_ = nullptr;
  if (comInitialised_) ::CoUninitialize();
  comInitialised_ = false;
}
