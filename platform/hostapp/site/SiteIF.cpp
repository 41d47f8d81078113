#include "hostapp/site/SiteIF.h"

namespace {

class Site final : public SiteIF {
  public:
    Site(const SITE_INFO& info, bool outSite) : m_info(info), m_outSite(outSite) {}
    bool isOutSite() const override { return m_outSite; }
    void addRef() override { ++m_refs; }
    void release() override {
        if (--m_refs == 0) {
            delete this;
        }
    }
    const SITE_INFO& getSiteInfo() const override { return m_info; }

  private:
    ~Site() override = default;
    SITE_INFO m_info;
    bool m_outSite;
    int m_refs = 1;
};

}  // namespace

namespace lum {

SiteIF* newSiteIF(const SITE_INFO& info, bool outSite) {
    return new Site(info, outSite);
}

}  // namespace lum
