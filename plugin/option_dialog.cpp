#include "plugin/option_dialog.h"

#include "host/service_name.h"
#include "platform/windows_api.h"
#include "plugin/plugin_info.h"

constexpr int32_t OptionServiceNameSize = 256;

void RegisterOptionService()
{
    char buf[OptionServiceNameSize];
    FormatServiceName(buf, OptionServiceNameSize, "%s/ShowOptionDialog", PluginInfoStrings[PluginIdentifierRow]);
    hostServices.RegisterService(buf, OnShowOptionDialog);
}

int32_t ZAVRIK_CALL OnShowOptionDialog(intptr_t owner, intptr_t /*ignored*/)
{
    // 設定可能な項目はありません (there are no items that can be set)
    MessageBoxA(reinterpret_cast<HWND>(owner),
                "\x90\xdd\x92\xe8\x89\xc2\x94\x5c\x82\xc8\x8d\x80\x96\xda\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1",
                PluginInfoStrings[PluginNameRow], MB_OK | MB_ICONINFORMATION);
    return 0;
}
