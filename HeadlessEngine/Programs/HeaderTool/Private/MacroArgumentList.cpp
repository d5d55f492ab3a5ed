#include "MacroArgumentList.h"

#include <cctype>
#include <initializer_list>

namespace HeaderTool
{
	namespace
	{
		// Specifiers the engine's header tool accepts. Those the generated code does not express
		// are accepted and have no effect here.
		const std::initializer_list<const char*> ClassSpecifiers = {
			"Abstract", "AdvancedClassDisplay", "AutoCollapseCategories", "AutoExpandCategories", "Blueprintable",
			"BlueprintType", "ClassGroup", "CollapseCategories", "Config", "ConfigDoNotCheckDefaults", "Const",
			"ConversionRoot", "CustomConstructor", "CustomFieldNotify", "CustomThunkTemplates", "DefaultConfig",
			"DefaultToInstanced", "Deprecated", "DontAutoCollapseCategories", "DontCollapseCategories",
			"EarlyAccessPreview", "EditInlineNew", "EditorConfig", "Experimental", "GlobalUserConfig", "HideCategories",
			"HideDropdown", "HideFunctions", "Intrinsic", "MatchedSerializers", "MinimalAPI", "NoExport",
			"NonTransient", "NotBlueprintable", "NotBlueprintType", "NotEditInlineNew", "NotPlaceable", "Optional",
			"PerObjectConfig", "Placeable", "PrioritizeCategories", "ProjectUserConfig", "ShowCategories",
			"ShowFunctions", "SparseClassDataType", "Transient", "Within", "ComponentWrapperClass", "DisplayName",
			"Interface",
		};
		const std::initializer_list<const char*> StructSpecifiers = {
			"Atomic", "BlueprintInternalUseOnly", "BlueprintInternalUseOnlyHierarchical", "BlueprintType",
			"HasDefaults", "HasNoOpConstructor", "Immutable", "IsAlwaysAccessible", "IsCoreType", "NoExport",
		};
		const std::initializer_list<const char*> EnumSpecifiers = {
			"BlueprintType", "Flags",
		};
		const std::initializer_list<const char*> FunctionSpecifiers = {
			"BlueprintAuthorityOnly", "BlueprintCallable", "BlueprintCosmetic", "BlueprintGetter", "BlueprintPure",
			"BlueprintSetter", "CallInEditor", "Category", "Exec", "FieldNotify", "SealedEvent", "Reliable", "Unreliable",
			"DisplayName",
		};
		// Real specifiers whose generated code (events, RPCs, custom thunks) this tool does not write.
		const std::initializer_list<const char*> UnsupportedFunctionSpecifiers = {
			"BlueprintImplementableEvent", "BlueprintNativeEvent", "Client", "CustomThunk", "NetMulticast", "Server",
			"ServiceRequest", "ServiceResponse", "WithValidation",
		};
		const std::initializer_list<const char*> PropertySpecifiers = {
			"AdvancedDisplay", "AssetRegistrySearchable", "BlueprintAssignable", "BlueprintAuthorityOnly",
			"BlueprintCallable", "BlueprintGetter", "BlueprintReadOnly", "BlueprintReadWrite", "BlueprintSetter",
			"Category", "Config", "DuplicateTransient", "EditAnywhere", "EditDefaultsOnly", "EditFixedSize",
			"EditInstanceOnly", "Export", "FieldNotify", "Getter", "GlobalConfig", "Instanced", "Interp", "Localized",
			"NoClear", "NonPIEDuplicateTransient", "NonTransactional", "NotReplicated", "RepRetry", "Replicated",
			"ReplicatedUsing", "SaveGame", "Setter", "SimpleDisplay", "SkipSerialization", "TextExportTransient",
			"Transient", "VisibleAnywhere", "VisibleDefaultsOnly", "VisibleInstanceOnly",
		};
		const std::initializer_list<const char*> ParameterSpecifiers = {
			"ref", "const", "DisplayName", "Required",
		};

		bool Contains(const std::initializer_list<const char*>& List, const std::string& Key)
		{
			for (const char* Entry : List)
			{
				if (EqualsIgnoreCase(Key, Entry))
				{
					return true;
				}
			}
			return false;
		}

		void CheckKnown(const FTokenCursor& Cursor, EMacroKind Kind, const FSpecifier& Specifier)
		{
			switch (Kind)
			{
			case EMacroKind::Class:
				if (Contains(ClassSpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::Struct:
				if (Contains(StructSpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::Enum:
				if (Contains(EnumSpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::Function:
				if (Contains(UnsupportedFunctionSpecifiers, Specifier.Key))
				{
					Cursor.FailAt(Specifier.Line, "unsupported specifier '" + Specifier.Key + "' on UFUNCTION");
				}
				if (Contains(FunctionSpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::Property:
				if (Contains(PropertySpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::Parameter:
				if (Contains(ParameterSpecifiers, Specifier.Key))
				{
					return;
				}
				break;
			case EMacroKind::EnumEntry:
				// UMETA(...) holds metadata only.
				Cursor.FailAt(Specifier.Line, "unknown specifier '" + Specifier.Key + "' on UMETA");
			}
			Cursor.FailAt(Specifier.Line, "unknown specifier '" + Specifier.Key + "' on " + MacroName(Kind));
		}

		/** Reads one value up to the next top-level ',' or ')' and returns its text; strings are unquoted. */
		std::string ReadValue(FTokenCursor& Cursor, EMacroKind Kind, int MacroLine)
		{
			std::string Value;
			int Depth = 0;
			const FToken* Previous = nullptr;
			while (true)
			{
				const FToken& Token = Cursor.Current();
				if (Token.Kind == ETokenKind::EndOfFile || Token.Is(";") || Token.Is("{") || Token.Is("}"))
				{
					Cursor.FailAt(MacroLine, std::string("unbalanced parentheses in ") + MacroName(Kind) + "(...)");
				}
				if (Depth == 0 && (Token.Is(",") || Token.Is(")")))
				{
					return Value;
				}
				if (Token.Is("("))
				{
					++Depth;
				}
				else if (Token.Is(")"))
				{
					--Depth;
				}
				const bool bWordAfterWord = Previous != nullptr && Token.Kind != ETokenKind::Symbol && Previous->Kind != ETokenKind::Symbol;
				if (bWordAfterWord)
				{
					Value += ' ';
				}
				Value += Token.Kind == ETokenKind::String ? UnquoteString(Token.Text) : Token.Text;
				Previous = &Token;
				Cursor.Advance();
			}
		}

		/** Reads `(a, b=c, ...)` into Items; the cursor stands on '('. */
		void ReadList(FTokenCursor& Cursor, EMacroKind Kind, int MacroLine, std::vector<FSpecifier>& Items)
		{
			Cursor.Expect("(", std::string("expected '(' after ") + MacroName(Kind));
			while (!Cursor.Current().Is(")"))
			{
				const FToken& Token = Cursor.Current();
				if (Token.Kind == ETokenKind::EndOfFile || Token.Is(";") || Token.Is("{") || Token.Is("}"))
				{
					Cursor.FailAt(MacroLine, std::string("unbalanced parentheses in ") + MacroName(Kind) + "(...)");
				}
				FSpecifier Item;
				Item.Line = Token.Line;
				if (Token.Kind == ETokenKind::Identifier)
				{
					Item.Key = Token.Text;
				}
				else if (Token.Kind == ETokenKind::String)
				{
					Item.Key = UnquoteString(Token.Text);
				}
				else
				{
					Cursor.Fail("unexpected '" + Token.Text + "' in " + MacroName(Kind) + "(...)");
				}
				Cursor.Advance();
				if (Cursor.TryConsume("="))
				{
					Item.bHasValue = true;
					if (Cursor.Current().Is("("))
					{
						Cursor.Advance();
						while (!Cursor.Current().Is(")"))
						{
							Item.Values.push_back(ReadValue(Cursor, Kind, MacroLine));
							Cursor.TryConsume(",");
						}
						Cursor.Advance();
						for (size_t Index = 0; Index < Item.Values.size(); ++Index)
						{
							Item.Value += (Index > 0 ? "," : "") + Item.Values[Index];
						}
					}
					else
					{
						Item.Value = ReadValue(Cursor, Kind, MacroLine);
						Item.Values.push_back(Item.Value);
					}
				}
				Items.push_back(std::move(Item));
				if (!Cursor.TryConsume(","))
				{
					if (!Cursor.Current().Is(")"))
					{
						if (Cursor.Current().Kind == ETokenKind::EndOfFile || Cursor.Current().Is(";") || Cursor.Current().Is("{") || Cursor.Current().Is("}"))
						{
							Cursor.FailAt(MacroLine, std::string("unbalanced parentheses in ") + MacroName(Kind) + "(...)");
						}
						Cursor.Fail("expected ',' or ')' in " + std::string(MacroName(Kind)) + "(...), found '" + Cursor.Current().Text + "'");
					}
				}
			}
			Cursor.Advance();
		}
	}

	bool EqualsIgnoreCase(const std::string& A, const char* B)
	{
		size_t Index = 0;
		for (; Index < A.size() && B[Index] != '\0'; ++Index)
		{
			if (std::tolower(static_cast<unsigned char>(A[Index])) != std::tolower(static_cast<unsigned char>(B[Index])))
			{
				return false;
			}
		}
		return Index == A.size() && B[Index] == '\0';
	}

	const char* MacroName(EMacroKind Kind)
	{
		switch (Kind)
		{
		case EMacroKind::Class: return "UCLASS";
		case EMacroKind::Struct: return "USTRUCT";
		case EMacroKind::Enum: return "UENUM";
		case EMacroKind::Function: return "UFUNCTION";
		case EMacroKind::Property: return "UPROPERTY";
		case EMacroKind::Parameter: return "UPARAM";
		case EMacroKind::EnumEntry: return "UMETA";
		}
		return "";
	}

	FSpecifierList ParseSpecifierList(FTokenCursor& Cursor, EMacroKind Kind, int MacroLine)
	{
		FSpecifierList Result;
		Result.Line = MacroLine;
		std::vector<FSpecifier> Items;
		ReadList(Cursor, Kind, MacroLine, Items);
		for (FSpecifier& Item : Items)
		{
			const bool bMetadataOnly = Kind == EMacroKind::EnumEntry;
			if (EqualsIgnoreCase(Item.Key, "meta") && !bMetadataOnly)
			{
				if (!Item.bHasValue)
				{
					Cursor.FailAt(Item.Line, "expected meta=(...)");
				}
				for (const std::string& Entry : Item.Values)
				{
					const size_t Equals = Entry.find('=');
					const std::string Key = Entry.substr(0, Equals);
					const std::string Value = Equals == std::string::npos ? std::string() : Entry.substr(Equals + 1);
					if (Key.empty())
					{
						Cursor.FailAt(Item.Line, "empty metadata key");
					}
					Result.Meta[Key] = Value;
				}
				continue;
			}
			if (bMetadataOnly)
			{
				Result.Meta[Item.Key] = Item.Value;
				continue;
			}
			CheckKnown(Cursor, Kind, Item);
			Result.Specifiers.push_back(std::move(Item));
		}
		return Result;
	}

	const FSpecifier* FindSpecifier(const FSpecifierList& List, const char* Key)
	{
		for (const FSpecifier& Specifier : List.Specifiers)
		{
			if (EqualsIgnoreCase(Specifier.Key, Key))
			{
				return &Specifier;
			}
		}
		return nullptr;
	}
}
