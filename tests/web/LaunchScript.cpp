// Prints the script the immersive-reader screen evaluates to launch its page, for the
// browser test: the same records and encoder the screen uses, with the text and the
// service address the test gives.
//
//   immersive-launch-script --token T --subdomain S [--custom-domain URL]
//                           [--preferences TEXT] TEXT

#include "LectoroSDKWithReader/readingaids/ImmersiveReaderRecords.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

int main(int argc, char** argv)
{
    std::string token;
    std::string subdomain;
    std::optional<std::string> customDomain;
    std::optional<std::string> preferences;
    std::optional<std::string> text;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string(argv[++i]);
        };
        std::optional<std::string>* target = nullptr;
        std::optional<std::string> taken;
        if (argument == "--token" || argument == "--subdomain" || argument == "--custom-domain"
            || argument == "--preferences") {
            taken = value();
            if (!taken) {
                std::fprintf(stderr, "immersive-launch-script: %s needs a value\n", argument.c_str());
                return 2;
            }
            if (argument == "--token")
                token = *taken;
            else if (argument == "--subdomain")
                subdomain = *taken;
            else if (argument == "--custom-domain")
                target = &customDomain;
            else
                target = &preferences;
            if (target)
                *target = *taken;
        } else {
            text = argument;
        }
    }
    if (!text) {
        std::fprintf(stderr,
            "usage: immersive-launch-script --token T --subdomain S [--custom-domain URL] "
            "[--preferences TEXT] TEXT\n");
        return 2;
    }
    auto chunk = std::make_shared<lectoro::Chunk>(*text);
    auto content
        = std::make_shared<lectoro::Content>(*text, std::vector<std::shared_ptr<lectoro::Chunk>> { chunk });
    std::shared_ptr<lectoro::Options> options;
    if (customDomain || preferences) {
        options = std::make_shared<lectoro::Options>();
        options->customDomain = customDomain;
        options->preferences = preferences;
    }
    std::string script = lectoro::launchScript(lectoro::Message { token, subdomain, content, options });
    std::fwrite(script.data(), 1, script.size(), stdout);
    return 0;
}
