#include "Modules/ModuleManager.h"
#include "Vesk_SaveSubsystem.h"

// The keeper of saved identities is process-wide; it goes when the module does.
class FVeskSaveLoadModule : public FDefaultModuleImpl
{
public:
	virtual void ShutdownModule() override
	{
		UVesk_SaveSubsystem::Shutdown();
	}
};

IMPLEMENT_MODULE(FVeskSaveLoadModule, VeskSaveLoad)
