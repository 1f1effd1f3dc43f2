#pragma once
// A function of a system library that only some features need, found at its first use: start-up
// does not wait for the library, and where the system lacks the library or the function only the
// feature that needs it fails, with an error that says why, instead of the whole program.

#include <windows.h>

#include <stdexcept>
#include <string>

class EMissingSystemFunction : public std::runtime_error {
  public:
    EMissingSystemFunction(const std::string& feature, const std::string& library,
                           const std::string& name)
        : std::runtime_error(feature + " cannot be used: this system's " + library +
                             " lacks its function " + name) {}
};

template <class Function> class SystemFunction {
  public:
    SystemFunction(const char* library, const char* name)
        : Library(library), Name(name), Found(Find(library, name)) {}

    // Null where the system lacks it, for a feature that can do without.
    Function Get() const { return Found; }
    // For a feature that cannot: throws EMissingSystemFunction naming the feature.
    Function For(const char* feature) const {
        if (!Found)
            throw EMissingSystemFunction(feature, Library, Name);
        return Found;
    }

  private:
    static Function Find(const char* library, const char* name) {
        const HMODULE module = LoadLibraryA(library);
        return module ? reinterpret_cast<Function>(
                            reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
    }
    const char* Library;
    const char* Name;
    Function Found;
};
