using System;

namespace Acme.Caching
{
    public partial class Cache
    {
        /// <summary>When entries expire.</summary>
        public TimeSpan Lifetime { get; set; } = TimeSpan.FromMinutes(5);

        /// <summary>Removes the entries that expired.</summary>
        public void Expire() { }
    }

    /// <summary>Expiry for the keyed cache.</summary>
    public partial class Cache<TKey>
    {
        /// <summary>When an entry expires.</summary>
        public DateTime ExpiresAt(TKey key) => DateTime.MaxValue;

        /// <summary>The clock the cache reads.</summary>
        public Func<DateTime> Clock { get; init; } = () => DateTime.UtcNow;
    }
}
