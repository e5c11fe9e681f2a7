#include <gtest/gtest.h>

#include <memory>

#include "controls/XButton.h"
#include "controls/XScrollPanel.h"
#include "controls/XWebButton.h"
#include "controls/XWrappingStatic.h"

namespace {

TEST(ControlRuntimeClasses, AreRegisteredByNameWithTheirBases) {
    const struct {
        const char* lpszName;
        const char* lpszBase;
    } cases[] = {
        {"XButton", "CButton"},     {"XWebButton", "XButton"},   {"XPanel", "CWnd"},
        {"XScrollPanel", "XPanel"}, {"XWrappingStatic", "CWnd"},
    };
    for (const auto& c : cases) {
        const CRuntimeClass* pClass = CRuntimeClass::FromName(c.lpszName);
        ASSERT_NE(nullptr, pClass) << c.lpszName;
        ASSERT_NE(nullptr, pClass->GetBaseClass()) << c.lpszName;
        EXPECT_STREQ(c.lpszBase, pClass->GetBaseClass()->m_lpszClassName) << c.lpszName;
        EXPECT_TRUE(pClass->IsDerivedFrom(RUNTIME_CLASS(CWnd))) << c.lpszName;
    }
    EXPECT_TRUE(RUNTIME_CLASS(XWebButton)->IsDerivedFrom(RUNTIME_CLASS(CButton)));
    EXPECT_FALSE(RUNTIME_CLASS(XPanel)->IsDerivedFrom(RUNTIME_CLASS(XScrollPanel)));
}

TEST(ControlRuntimeClasses, MakeObjectsOfTheirClassFromTheName) {
    std::unique_ptr<CObject> pObject(CRuntimeClass::FromName("XWebButton")->CreateObject());
    XButton* pButton = dynamic_cast<XButton*>(pObject.get());
    ASSERT_NE(nullptr, pButton);
    EXPECT_EQ(RUNTIME_CLASS(XWebButton), pButton->GetRuntimeClass());
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CWnd")->CreateObject());
}

} // namespace
