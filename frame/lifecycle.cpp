// The frame code compiled into every module: entry point, module init/deinit and the one set of
// lifecycle routines. Each routine takes the root element of the first gauge in Linkage and the
// host's service table afresh at every call, and hands back the host's result unchanged.
#include "module.h"

ModuleImportTable ImportTable = {{
    {.id = kImportHostServices, .pointer = nullptr},  // written by the host at load
    {.id = 0, .pointer = nullptr},
}};

int32_t ModuleEntryPoint(void*, uint32_t, void*) { return 1; }

void ModuleInit() {}
void ModuleDeinit() {}

namespace {

ElementHeader* FirstRoot() { return Linkage.gauges[0]->elements[0]; }

}  // namespace

uint32_t ModuleQuery() { return HostServices()->element_list_query(FirstRoot()); }
uint32_t ModuleInstall(uint32_t value) { return HostServices()->element_list_install(FirstRoot(), value); }
uint32_t ModuleInitialize() { return HostServices()->element_list_initialize(FirstRoot()); }
uint32_t ModuleUpdate() { return HostServices()->element_list_update(FirstRoot()); }
uint32_t ModuleGenerate(uint32_t value) { return HostServices()->element_list_generate(FirstRoot(), value); }
uint32_t ModuleDraw() { return HostServices()->element_list_draw(FirstRoot()); }
uint32_t ModuleKill() { return HostServices()->element_list_kill(FirstRoot()); }
