#include "system/mManifest.h"

#include <array>
#include <memory>

#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/mExeName.h"
#include "system/mExists.h"
#include "system/mWinVersion.h"

namespace {

constexpr const char* kTitle = "Wolkenglas";

std::string ReadAll(FileSystem& files, std::string_view path) {
    std::string text;
    auto reader = files.OpenRead(path);
    if (!reader) return text;
    std::array<std::uint8_t, 4096> block;
    for (std::int64_t n; (n = reader->Read(block.data(), block.size())) > 0;)
        text.append(reinterpret_cast<const char*>(block.data()), static_cast<std::size_t>(n));
    return text;
}

// Does the program's own identity element carry this version?
bool NamesVersion(std::string text, std::string_view version) {
    text = LowerCase(text);
    if (const auto start = text.find("<assemblyidentity"); start != std::string::npos) {
        text.erase(0, start);
        if (const auto end = text.find("/>"); end != std::string::npos) text.erase(end + 2);
    }
    return text.find(version) != std::string::npos;
}

}  // namespace

std::string ManifestText(std::string_view title, std::string_view version, std::string_view description) {
    return Cat(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>  "
        "<!-- http://msdn.microsoft.com/en-us/library/aa374191 -->\r\n"
        "\r\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
        "\r\n"
        "  <assemblyIdentity \r\n"
        "    type=\"win32\" \r\n"
        "    processorArchitecture=\"*\" \r\n"
        "    name=\"", title, "\" \r\n"
        "    version=\"", version, "\" \r\n"
        "  />\r\n"
        "\r\n"
        "  <description>", description, "</description>\r\n"
        "\r\n"
        "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">\r\n"
        "    <security>\r\n"
        "      <requestedPrivileges>\r\n"
        "        <!-- level can be \"asInvoker\", \"highestAvailable\", or \"requireAdministrator\" -->\r\n"
        "        <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>\r\n"
        "      </requestedPrivileges>\r\n"
        "    </security>\r\n"
        "  </trustInfo>\r\n"
        "\r\n"
        "  <dependency>\r\n"
        "    <dependentAssembly>\r\n"
        "      <assemblyIdentity \r\n"
        "        type=\"win32\" \r\n"
        "        processorArchitecture=\"*\" \r\n"
        "        name=\"Microsoft.Windows.Common-Controls\" \r\n"
        "        version=\"6.0.0.0\" \r\n"
        "        publicKeyToken=\"6595b64144ccf1df\" \r\n"
        "        language=\"*\" \r\n"
        "      />\r\n"
        "    </dependentAssembly>\r\n"
        "  </dependency>\r\n"
        "\r\n"
        "  <compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">\r\n"
        "    <application>\r\n"
        "      <supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>"
        "  <!-- App supports Windows Vista functionality -->\r\n"
        "      <supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"
        "  <!-- App supports Windows 7 functionality -->\r\n"
        "      <supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>"
        "  <!-- App supports Windows 8 functionality -->\r\n"
        "      <supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"
        "  <!-- App supports Windows 8.1 functionality -->\r\n"
        "      <supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"
        "  <!-- App supports Windows 10 functionality -->\r\n"
        "    </application>\r\n"
        "  </compatibility>\r\n"
        "\r\n"
        "  <asmv3:application xmlns:asmv3=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
        "    <asmv3:windowsSettings xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">\r\n"
        "      <dpiAware>false</dpiAware>\r\n"
        "      <disableTheming>false</disableTheming>\r\n"
        "    </asmv3:windowsSettings>\r\n"
        "  </asmv3:application>\r\n"
        "\r\n"
        "</assembly>\r\n"
        "\r\n");
}

bool WriteManifest(Ports& ports, bool force) {
    SystemPort& sys = ports.system;
    FileSystem& files = ports.files;
    const std::string path = Cat(ExePath(sys), ".manifest");
    if (WinVersion(sys) < 6.0f) {
        if (FileSize(files, path) > 1) files.RemoveFile(path);
        return false;
    }
    const FileVersion v = sys.ProgramVersion();
    const std::string version =
        Cat(std::to_string(v.major), ".", std::to_string(v.minor), ".", std::to_string(v.revision), ".0");
    const std::int64_t size = FileSize(files, path);
    if (!force && size > 0 && !NamesVersion(ReadAll(files, path), version)) force = true;
    if (size >= 1 && !force) return false;
    // A folder that cannot be written to gives false, so the start does not restart for nothing.
    return files.WriteFile(path, ManifestText(kTitle, version, v.description));
}
