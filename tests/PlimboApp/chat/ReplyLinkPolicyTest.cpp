#include "ReplyLinkPolicy.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

TEST(ReplyLinkPolicy, OpenableLinks) {
    EXPECT_TRUE(ReplyLinkPolicy::openableLink(u"HTTPS://Example.com").has_value());
    EXPECT_TRUE(ReplyLinkPolicy::openableLink(u"mailto:a@b.c").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"mailto:").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"data:text/html,<b>x</b>").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"vbscript:x").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"//example.com").has_value());
}

// A web address opens only with a host: a file on this machine or a script never does.
TEST(ReplyLinkPolicy, WebLinksNeedAHost) {
    EXPECT_EQ(ReplyLinkPolicy::openableLink(u"  https://example.com/a?b=c#d "),
              QUrl("https://example.com/a?b=c#d"));
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"http:///etc/passwd").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"file:///etc/passwd").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"javascript:alert(1)").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"example.com").has_value());
}

TEST(ReplyLinkPolicy, MailLinksCarryTheAddressOnly) {
    // A reply must not hand the mail client a file to attach, a body or more recipients.
    EXPECT_EQ(ReplyLinkPolicy::openableLink(u"mailto:a@b.c?attach=/etc/passwd"),
              QUrl("mailto:a@b.c"));
    EXPECT_EQ(ReplyLinkPolicy::openableLink(u"MAILTO:me@example.com?cc=x@y.z&body=hi#top"),
              QUrl("mailto:me@example.com"));
    // Delimiters written escaped, or several addresses, open nothing.
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"mailto:a%3Fattach=x@b.c").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"mailto:a@b.c,evil@d.e").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"mailto:?to=a@b.c").has_value());
    EXPECT_FALSE(ReplyLinkPolicy::openableLink(u"mailto:not-an-address").has_value());
}

// An autolink's address is an address by CommonMark's grammar, yet opens only without the
// characters a mail client reads as more than an address.
TEST(ReplyLinkPolicy, AnAutolinkAddressOpensOnlyWhenPlain) {
    EXPECT_EQ(ReplyLinkPolicy::mailtoLink(u"me.too+x@mail.example.org"),
              QUrl("mailto:me.too+x@mail.example.org"));
    for (const char16_t* address :
         {u"a?attach=/etc/passwd@b.c", u"a&b@c.d", u"a/b@c.d", u"a%3F@b.c", u"a#b@c.d"}) {
        EXPECT_TRUE(ReplyLinkPolicy::isEmailAddress(address));
        EXPECT_FALSE(ReplyLinkPolicy::mailtoLink(address).has_value());
    }
}

TEST(ReplyLinkPolicy, EmailAddressesFollowTheAutolinkGrammar) {
    const QString longestLabel(63, QLatin1Char('a'));
    EXPECT_TRUE(ReplyLinkPolicy::isEmailAddress(QStringLiteral("x@") + longestLabel + ".com"));
    EXPECT_FALSE(ReplyLinkPolicy::isEmailAddress(QStringLiteral("x@") + longestLabel + "a.com"));
    EXPECT_TRUE(ReplyLinkPolicy::isEmailAddress(u"x@a-b.c"));
    for (const char16_t* text : {u"@b.c", u"a@", u"a@-b.c", u"a@b-.c", u"a@b..c", u"a@b_c.d",
                                 u"a b@c.d", u"é@b.c", u"a@b@c.d"}) {
        EXPECT_FALSE(ReplyLinkPolicy::isEmailAddress(text))
            << QStringView(text).toString().toStdString();
    }
}

} // namespace
