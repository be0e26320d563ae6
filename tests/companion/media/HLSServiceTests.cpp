#include "companion/media/MediaBookTestSupport.h"

#include "companion/media/HLSServiceInterface.h"
#include "companion/service/InProcessService.h"
#include "companion/service/ServiceErrors.h"

#include <gtest/gtest.h>

using namespace mediabooktest;
using companiontest::samplePath;
using companion::HLSServiceInterface;
using companion::InProcessService;
using companion::ServiceAnswer;
using lectoro::MVLectoroHLSServiceInterface;

namespace {

struct Outcome {
    int answers = 0;
    std::string path;
    std::optional<base::Value> cookies;
    std::optional<base::Error> error;
};

std::shared_ptr<HLSServiceInterface> client(const std::shared_ptr<InProcessService>& service, bool cookies = false)
{
    MVLectoroHLSServiceInterface::Configuration configuration;
    configuration.baseURL = "https://lectoro.invalid";
    configuration.microServicesBaseUrl = "https://ms.lectoro.invalid";
    configuration.clientID = "client";
    configuration.enableCDNCookies = cookies;
    return std::make_shared<HLSServiceInterface>(configuration, service);
}

void fetch(MVLectoroHLSServiceInterface& hls, int64_t bookID, Outcome& outcome, const std::string& token = "token-1")
{
    hls.fetchHLSMediaBookDownloadURL(token, bookID, 1700000000, true,
        [&outcome](const std::string& path, const std::optional<base::Value>& cookies) {
            ++outcome.answers;
            outcome.path = path;
            outcome.cookies = cookies;
        },
        [&outcome](const base::Error& error) {
            ++outcome.answers;
            outcome.error = error;
        });
}

} // namespace

TEST(HLSService, AnswersTheMediaFolderAndCookiesWhenAskedFor)
{
    auto service = InProcessService::create();
    base::Value::Dictionary cookies;
    cookies.set("CloudFront-Policy", "policy");
    service->setMediaBook(9102, samplePath("sample-videobook"), base::Value(cookies));
    for (bool withCookies : { true, false }) {
        Outcome outcome;
        fetch(*client(service, withCookies), 9102, outcome);
        settle();
        ASSERT_EQ(outcome.answers, 1);
        EXPECT_EQ(outcome.path, samplePath("sample-videobook"));
        EXPECT_EQ(outcome.cookies.has_value(), withCookies);
    }
    auto request = service->requests().back();
    EXPECT_EQ(request.operation, companion::op::hlsMediaBook);
    EXPECT_EQ(request.baseURL, "https://ms.lectoro.invalid");
    EXPECT_EQ(request.body["timeStamp"].asInteger(), 1700000000);
}

TEST(HLSService, FailuresHaveTheServiceFailureShape)
{
    struct Case {
        const char* name;
        std::optional<ServiceAnswer> scripted;
        int64_t bookID;
        int64_t code;
    };
    const Case cases[] = {
        { "unknown book", std::nullopt, 1, 404 },
        { "expired session", ServiceAnswer::expiredToken(), 9102, companion::expiredSessionCode },
        { "refused user", ServiceAnswer::unauthorized(), 9102, 401 },
        { "broken answer", ServiceAnswer::rawText("{\"mediaPath\": "), 9102, companion::malformedAnswerCode },
        { "a list", ServiceAnswer::rawText("[\"/books\"]"), 9102, companion::malformedAnswerCode },
        { "no folder named", ServiceAnswer::success(base::Value(base::Value::Dictionary {})), 9102, companion::malformedAnswerCode },
    };
    for (const auto& test : cases) {
        auto service = InProcessService::create();
        service->setMediaBook(9102, samplePath("sample-videobook"));
        if (test.scripted)
            service->scriptNext(*test.scripted);
        Outcome outcome;
        fetch(*client(service), test.bookID, outcome);
        settle();
        ASSERT_EQ(outcome.answers, 1) << test.name;
        ASSERT_TRUE(outcome.error) << test.name;
        if (test.code == companion::expiredSessionCode) {
            EXPECT_TRUE(companion::isExpiredTokenError(*outcome.error)) << test.name;
        } else {
            EXPECT_EQ(outcome.error->code, test.code) << test.name;
            if (test.code != companion::unauthorizedCode) {
                EXPECT_TRUE(outcome.error->userInfo["message"].asString()) << test.name;
            }
        }
    }
}

// The reader asks for book A's address, the user opens book B before it arrives: the late
// answer must neither run A's handlers nor fill B's model.
TEST(HLSService, ALateAnswerForABookNoLongerOpenIsDropped)
{
    auto service = InProcessService::create();
    service->setMediaBook(9101, samplePath("sample-audiobook"));
    service->setMediaBook(9102, samplePath("sample-videobook"));
    service->setDefaultDelivery(companion::Delivery::Delayed, 2.0);

    auto openBook = modelFor("", "9101");
    auto hls = client(service);
    Outcome first;
    fetch(*hls, 9101, first);

    // Book B opens: the reader cancels what the old book still waits for.
    hls->cancel();
    openBook = modelFor(samplePath("sample-videobook"), "9102");
    ASSERT_TRUE(parse(openBook, true).ok());
    Outcome second;
    fetch(*hls, 9102, second);

    base::RunLoop::main().advanceBy(2.5);
    settle();
    EXPECT_EQ(first.answers, 0);
    ASSERT_EQ(second.answers, 1);
    EXPECT_EQ(second.path, samplePath("sample-videobook"));

    // And a folder of another book handed to the parser anyway is refused, the open book kept.
    openBook->mediaBookPath = samplePath("sample-audiobook");
    auto refused = parse(openBook);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(openBook->mediaBookTitle, "Test Pattern");
    EXPECT_EQ(openBook->mediaBookAllChaptersArray.size(), 2u);
}
