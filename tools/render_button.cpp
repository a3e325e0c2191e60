// render_button: writes the faces of chosen buttons of a stored description as PNG files.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "forms/Description.h"
#include "gdi/Image.h"
#include "tools/FaceRender.h"

namespace {

constexpr const char* kUsage =
    "usage: render_button DESCRIPTION [--button NAME]... [--state idle|default|hover|pressed|disabled|value]\n"
    "                     [--value true|false] [--size WxH] [--design] [-o FILE.png | --out-dir DIR]\n"
    "Renders each named Button (all Buttons when none is named) of a window description, or the one\n"
    "Button a description holds, as a PNG. -o needs exactly one button; otherwise the files are\n"
    "DIR/NAME.png (DIR defaults to the current folder).\n";

int Usage(const std::string& why) {
    std::fprintf(stderr, "render_button: %s\n%s", why.c_str(), kUsage);
    return 1;
}

bool ParseSize(const std::string& text, int& w, int& h) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    try {
        std::size_t used = 0;
        w = std::stoi(text.substr(0, x), &used);
        if (used != x) return false;
        h = std::stoi(text.substr(x + 1), &used);
        if (used != text.size() - x - 1) return false;
    } catch (const std::exception&) {
        return false;
    }
    return w > 0 && h > 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string description;
    std::vector<std::string> names;
    tools::RenderRequest request;
    std::filesystem::path outFile;
    std::filesystem::path outDir = ".";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto next = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size()) return nullptr;
            (void)what;
            return &args[++i];
        };
        if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--button") {
            const std::string* v = next("name");
            if (!v) return Usage("--button needs a name");
            names.push_back(*v);
        } else if (a == "--state") {
            const std::string* v = next("state");
            const auto state = v ? buttons::ParseFaceState(*v) : std::nullopt;
            if (!state) return Usage("--state needs idle, default, hover, pressed, disabled or value");
            request.state = *state;
        } else if (a == "--value") {
            const std::string* v = next("value");
            if (!v || (*v != "true" && *v != "false")) return Usage("--value needs true or false");
            request.value = *v == "true";
        } else if (a == "--size") {
            const std::string* v = next("size");
            if (!v || !ParseSize(*v, request.width, request.height)) return Usage("--size needs WxH, e.g. 97x41");
        } else if (a == "--design") {
            request.designTime = true;
        } else if (a == "-o") {
            const std::string* v = next("file");
            if (!v) return Usage("-o needs a file name");
            outFile = *v;
        } else if (a == "--out-dir") {
            const std::string* v = next("dir");
            if (!v) return Usage("--out-dir needs a folder");
            outDir = *v;
        } else if (!a.empty() && a[0] == '-') {
            return Usage("unknown option " + a);
        } else if (description.empty()) {
            description = a;
        } else {
            return Usage("more than one description given");
        }
    }
    if (description.empty()) return Usage("no description given");

    try {
        const forms::Document doc = forms::LoadDescription(description);
        std::vector<const forms::Control*> chosen;
        if (names.empty()) {
            chosen = tools::FindButtons(doc.Root);
            if (chosen.empty()) throw std::invalid_argument(description + ": holds no Button");
        } else {
            for (const auto& name : names) {
                const forms::Control* c = doc.Root.FindByName(name);
                if (!c) throw std::invalid_argument(description + ": no control named '" + name + "'");
                chosen.push_back(c);
            }
        }
        if (!outFile.empty() && chosen.size() != 1) return Usage("-o needs exactly one button");
        if (outFile.empty()) std::filesystem::create_directories(outDir);
        for (const forms::Control* c : chosen) {
            const gdi::OwnedBitmap face = tools::RenderFace(doc, *c, request);
            const std::filesystem::path target = outFile.empty() ? outDir / (c->Name + ".png") : outFile;
            gdi::WritePng(face.get(), target);
            std::printf("%s\n", target.string().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render_button: %s\n", e.what());
        return 2;
    }
    return 0;
}
